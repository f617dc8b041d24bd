#pragma once
// The units flight statistics are shown in, metric or imperial, and their
// number text: fixed decimals in the "C" locale, so a logbook reads the same
// on every system.
#include <string>

enum class UnitSystem { Metric, Imperial };

// What a statistic measures: it decides the unit and the decimals shown.
// (StatUnits.cpp holds a table in this order.)
enum class Quantity {
  Time,          // s in both systems
  Altitude,      // m or ft
  Speed,         // m/s or ft/s
  FastSpeed,     // km/h or mph, the same speed for people
  Acceleration,  // m/s^2 or ft/s^2
  GForce,        // multiples of standard gravity in both systems
  DescentRate,   // m/s or ft/s, with more decimals than Speed
};

constexpr double kMetresPerFoot = 0.3048;           // exact, by definition
constexpr double kMetresPerSecondPerMph = 0.44704;  // 1609.344 m per hour, exact
constexpr double kMetresPerSecondPerKmh = 1.0 / 3.6;
constexpr double kStandardGravity = 9.80665;  // m/s^2, exact

// `value`, in SI units (m, s, m/s, m/s^2), in the unit `quantity` has in `units`.
double InUnits(double value, Quantity quantity, UnitSystem units);

// The unit's symbol: "m", "ft/s", "mph", "m/s^2", "g", "s".
const char* UnitSymbol(Quantity quantity, UnitSystem units);

// The unit as a suffix for a machine-readable key: "M", "Fts", "Kmh", "Ms2", "G", "S".
const char* UnitKeySuffix(Quantity quantity, UnitSystem units);

// `value` (SI) converted and written with the quantity's decimals: "298.4".
std::string QuantityText(double value, Quantity quantity, UnitSystem units);

// `value` with `decimals` fixed decimals in the "C" locale; never "-0.0".
std::string FixedText(double value, int decimals);
