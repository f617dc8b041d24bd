#include "data/StatUnits.h"

#include <charconv>

namespace {

struct UnitOf {
  const char* symbol;
  const char* keySuffix;
  double siPerUnit;  // how many SI units one of this unit holds
};

struct QuantityUnits {
  UnitOf metric;
  UnitOf imperial;
  int decimals;
};

// In the order of Quantity.
const QuantityUnits kUnits[] = {
    {{"s", "S", 1.0}, {"s", "S", 1.0}, 2},
    {{"m", "M", 1.0}, {"ft", "Ft", kMetresPerFoot}, 1},
    {{"m/s", "Ms", 1.0}, {"ft/s", "Fts", kMetresPerFoot}, 1},
    {{"km/h", "Kmh", kMetresPerSecondPerKmh}, {"mph", "Mph", kMetresPerSecondPerMph}, 0},
    {{"m/s^2", "Ms2", 1.0}, {"ft/s^2", "Fts2", kMetresPerFoot}, 1},
    {{"g", "G", kStandardGravity}, {"g", "G", kStandardGravity}, 2},
    {{"m/s", "Ms", 1.0}, {"ft/s", "Fts", kMetresPerFoot}, 2},
};

const QuantityUnits& UnitsOf(Quantity quantity) { return kUnits[static_cast<size_t>(quantity)]; }

const UnitOf& UnitIn(Quantity quantity, UnitSystem units) {
  const QuantityUnits& of = UnitsOf(quantity);
  return units == UnitSystem::Metric ? of.metric : of.imperial;
}

}  // namespace

double InUnits(double value, Quantity quantity, UnitSystem units) { return value / UnitIn(quantity, units).siPerUnit; }

const char* UnitSymbol(Quantity quantity, UnitSystem units) { return UnitIn(quantity, units).symbol; }

const char* UnitKeySuffix(Quantity quantity, UnitSystem units) { return UnitIn(quantity, units).keySuffix; }

std::string QuantityText(double value, Quantity quantity, UnitSystem units) {
  return FixedText(InUnits(value, quantity, units), UnitsOf(quantity).decimals);
}

std::string FixedText(double value, int decimals) {
  char text[512];  // the widest double in fixed form, with room for the decimals
  const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
  std::string fixed(text, result.ptr);
  // A value that rounds to zero reads as zero whatever its sign.
  if (fixed[0] == '-' && fixed.find_first_not_of("-0.") == std::string::npos) fixed.erase(0, 1);
  return fixed;
}
