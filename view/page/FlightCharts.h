#pragma once
// The charts of flights as data, in the units asked for: a flight report's
// altitude and velocity, and the altitudes of flights compared. Portable.
//
// Altitudes are the measured samples (altitudeAgl) above the pad that the
// statistics found (FlightStats::padLevel), the very samples the statistics
// are fitted to, so a marked apogee lies on its curve; velocities are the
// program's smoothed ones, which lag and flatten the climb's peak: the top
// speed the statistics fit is marked apart, and the legend tells them apart.
#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/FlightStatRows.h"
#include "data/FlightStats.h"
#include "data/StatUnits.h"
#include "view/page/ChartLayout.h"

constexpr Rgb kAltitudeColour{0, 114, 178};  // Okabe-Ito blue
constexpr Rgb kVelocityColour{213, 94, 0};   // Okabe-Ito vermillion

// Sample i of `set` at i / 10 s and its altitude above the pad, in `units`.
std::vector<ChartPoint> AltitudePoints(const DataSet& set, const FlightStats& stats, UnitSystem units);

// "apogee 297.4 m" ("apogee above 800.0 m" for a lower bound), or "no apogee" when the statistics found none.
std::string ApogeeText(const FlightStats& stats, UnitSystem units);
// "flight time 45.3 s" and "top speed 89.2 m/s"; empty when the statistics have none.
std::string FlightTimeText(const FlightStats& stats);
std::string TopSpeedText(const FlightStats& stats, UnitSystem units);

// The statistics' rows (data/FlightStatRows.h) as a page prints them: "m/s²"
// and "±" where plain text has "m/s^2" and "+/-".
std::vector<StatRow> PageStatRows(const FlightStats& stats, UnitSystem units);

// The report's chart: altitude above the pad (left axis) and velocity (right
// axis, on the left's grid) against the time from the set's first sample,
// with the launch, burn-out, apogee, each line's firing and the landing
// marked on the altitude curve (events of one moment share one mark: "lines
// A and B"), the fitted top speed marked at burn-out on the velocity axis,
// and a legend of both curves and that mark.
ChartSpec FlightChart(const DataSet& set, const FlightStats& stats, UnitSystem units);

constexpr size_t kMostComparedFlights = 8;

// Eight colours with a contrast of 3:1 or more on white paper (WCAG), which
// readers with any common colour blindness tell apart as far as eight can
// be: Okabe and Ito's darker ones, and darker shades in place of their light
// ones.
const std::array<Rgb, kMostComparedFlights>& ComparisonPalette();

// Where a flight's comparison starts: its launch, or its first sample when
// the statistics found no launch.
double ComparisonStartS(const FlightStats& stats);

// A flight's altitude above its pad against the time since ComparisonStartS,
// from that moment on.
ChartCurve ComparisonCurve(const DataSet& set, const FlightStats& stats, UnitSystem units, Rgb colour);

// One flight in a comparison: its curve (ComparisonCurve), its apogee marked
// on it in its colour, and when its recording of the flight ends: its last
// sample, or 10 s after its landing when it goes on longer (lying on the
// ground); none without a launch.
struct ComparedSeries {
  ChartCurve curve;
  std::optional<ChartEvent> apogee;
  std::optional<double> endS;
};
ComparedSeries CompareFlight(const DataSet& set, const FlightStats& stats, UnitSystem units, Rgb colour);

// The chart of flights compared: their curves on one axis with their
// apogees marked, its time axis ending a little after the last flight's end,
// so that a recording that goes on long after (or one without a launch) is
// cut there rather than squeezing the others.
ChartSpec ComparisonChart(const std::vector<ComparedSeries>& flights, UnitSystem units);

// A flight's line of the comparison's legend.
struct ComparedFlight {
  std::string name;        // "sample-flight.zel, set 0"
  std::string comment;     // may be empty
  std::string apogee;      // "apogee 297.4 m"
  std::string flightTime;  // "flight time 45.3 s"; may be empty
  std::string topSpeed;    // "top speed 89.2 m/s"; may be empty
  std::string note;        // "no launch found: from its first sample"; may be empty
};
ComparedFlight ComparedFlightOf(const std::string& name, const std::string& comment, const FlightStats& stats,
                                UnitSystem units);
