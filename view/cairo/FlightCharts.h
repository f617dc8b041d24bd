#pragma once
// The charts of flights as data, in the units asked for: a flight report's
// altitude and velocity, and the altitudes of flights compared. Portable.
//
// Altitudes are the measured samples (altitudeAgl) above the pad that the
// statistics found (FlightStats::padLevel), the very samples the statistics
// are fitted to, so a marked apogee lies on its curve; velocities are the
// program's smoothed ones.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/FlightStats.h"
#include "data/StatUnits.h"
#include "view/cairo/ChartLayout.h"

constexpr Rgb kAltitudeColour{0, 114, 178};  // Okabe-Ito blue
constexpr Rgb kVelocityColour{213, 94, 0};   // Okabe-Ito vermillion

// Sample i of `set` at i / 10 s and its altitude above the pad, in `units`.
std::vector<ChartPoint> AltitudePoints(const DataSet& set, const FlightStats& stats, UnitSystem units);

// "apogee 297.4 m", or "no apogee" when the statistics found none.
std::string ApogeeText(const FlightStats& stats, UnitSystem units);

// The report's chart: altitude above the pad (left axis) and velocity (right
// axis) against the time from the set's first sample, with the launch,
// burn-out, apogee and each line's firing marked on the altitude curve.
ChartSpec FlightChart(const DataSet& set, const FlightStats& stats, UnitSystem units);

constexpr size_t kMostComparedFlights = 8;

// Eight colours that readers with any common colour blindness tell apart
// (Okabe and Ito), those that stand out most on white first.
const std::array<Rgb, kMostComparedFlights>& ComparisonPalette();

// Where a flight's comparison starts: its launch, or its first sample when
// the statistics found no launch.
double ComparisonStartS(const FlightStats& stats);

// A flight's altitude above its pad against the time since ComparisonStartS,
// from that moment on.
ChartCurve ComparisonCurve(const DataSet& set, const FlightStats& stats, UnitSystem units, Rgb colour);

// The chart of flights compared: their curves (ComparisonCurve) on one axis.
ChartSpec ComparisonChart(std::vector<ChartCurve> curves, UnitSystem units);
