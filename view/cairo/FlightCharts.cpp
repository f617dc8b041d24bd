#include "view/cairo/FlightCharts.h"

#include <algorithm>
#include <optional>

#include "data/SampleTime.h"

namespace {

std::string AxisTitle(const std::string& what, Quantity quantity, UnitSystem units) {
  return what + " (" + UnitSymbol(quantity, units) + ")";
}

// The curve's height at `seconds`, on the straight line between the samples
// around it, so that a mark sits on the line drawn.
double HeightAt(const std::vector<ChartPoint>& curve, double seconds) {
  const double position = std::max(0.0, seconds / kSecondsPerSample);
  const size_t before = std::min(static_cast<size_t>(position), curve.size() - 1);
  const size_t after = std::min(before + 1, curve.size() - 1);
  const double share = std::min(1.0, position - static_cast<double>(before));
  return curve[before].y + share * (curve[after].y - curve[before].y);
}

class EventMarks {
 public:
  EventMarks(const std::vector<ChartPoint>& altitude, UnitSystem units) : altitude_(altitude), units_(units) {}

  void Add(const std::optional<double>& seconds, const std::string& label) {
    if (seconds && !altitude_.empty()) events_.push_back({{*seconds, HeightAt(altitude_, *seconds)}, label});
  }
  void AddFiring(const std::optional<LineFiring>& firing, const std::string& label) {
    if (firing) Add(firing->timeS, label);
  }
  void AddApogee(const FlightStats& stats) {
    if (stats.apogee) Add(stats.apogeeS, ApogeeText(stats, units_));
  }
  std::vector<ChartEvent> Events() const { return events_; }

 private:
  const std::vector<ChartPoint>& altitude_;
  UnitSystem units_;
  std::vector<ChartEvent> events_;
};

}  // namespace

std::string ApogeeText(const FlightStats& stats, UnitSystem units) {
  if (!stats.apogee) return "no apogee";
  return "apogee " + QuantityText(*stats.apogee, Quantity::Altitude, units) + ' ' +
         UnitSymbol(Quantity::Altitude, units);
}

std::vector<ChartPoint> AltitudePoints(const DataSet& set, const FlightStats& stats, UnitSystem units) {
  std::vector<ChartPoint> points;
  for (size_t i = 0; i < set.altitudeAgl.size(); ++i) {
    points.push_back({TimeOfSample(i), InUnits(set.altitudeAgl[i] - stats.padLevel, Quantity::Altitude, units)});
  }
  return points;
}

ChartSpec FlightChart(const DataSet& set, const FlightStats& stats, UnitSystem units) {
  ChartCurve altitude{AltitudePoints(set, stats, units), kAltitudeColour, ChartSide::Left};
  ChartCurve velocity{{}, kVelocityColour, ChartSide::Right};
  for (size_t i = 0; i < set.smoothedVelocity.size(); ++i) {
    velocity.points.push_back({TimeOfSample(i), InUnits(set.smoothedVelocity[i], Quantity::Speed, units)});
  }
  EventMarks marks(altitude.points, units);
  marks.Add(stats.launchS, "launch");
  marks.Add(stats.burnOutS, "burn-out");
  marks.AddApogee(stats);
  marks.AddFiring(stats.lineA, "line A");
  marks.AddFiring(stats.lineB, "line B");
  ChartSpec chart;
  chart.timeTitle = "time (s)";
  chart.left = {AxisTitle("altitude", Quantity::Altitude, units), kAltitudeColour};
  chart.right = ValueAxis{AxisTitle("velocity", Quantity::Speed, units), kVelocityColour};
  // The altitude last: the marks are on it.
  chart.curves = {velocity, altitude};
  chart.events = marks.Events();
  return chart;
}

const std::array<Rgb, kMostComparedFlights>& ComparisonPalette() {
  static const std::array<Rgb, kMostComparedFlights> palette{{
      {0, 114, 178},    // blue
      {213, 94, 0},     // vermillion
      {0, 158, 115},    // bluish green
      {204, 121, 167},  // reddish purple
      {230, 159, 0},    // orange
      {86, 180, 233},   // sky blue
      {0, 0, 0},        // black
      {240, 228, 66},   // yellow
  }};
  return palette;
}

double ComparisonStartS(const FlightStats& stats) { return stats.launchS.value_or(0.0); }

ChartCurve ComparisonCurve(const DataSet& set, const FlightStats& stats, UnitSystem units, Rgb colour) {
  const double start = ComparisonStartS(stats);
  ChartCurve curve{{}, colour, ChartSide::Left};
  for (const ChartPoint& point : AltitudePoints(set, stats, units)) {
    if (point.x >= start) curve.points.push_back({point.x - start, point.y});
  }
  return curve;
}

ChartSpec ComparisonChart(std::vector<ChartCurve> curves, UnitSystem units) {
  ChartSpec chart;
  chart.timeTitle = "time since launch (s)";
  chart.left = {AxisTitle("altitude above the launch site", Quantity::Altitude, units), {0, 0, 0}};
  chart.curves = std::move(curves);
  return chart;
}
