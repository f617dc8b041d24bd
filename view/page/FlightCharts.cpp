#include "view/page/FlightCharts.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "data/SampleTime.h"

namespace {

// Events closer than half a sample fall on one sample: one mark.
constexpr double kSameMoment = kSecondsPerSample / 2.0;
// Past the last flight's end on a comparison's time axis: a share of it, at least a few seconds.
constexpr double kEndMarginShare = 0.05;
constexpr double kLeastEndMarginS = 2.0;
// The altimeter stops a few seconds after it sees the landing: a set that
// lies on the ground longer is cut.
constexpr double kLongestTailS = 10.0;

std::string AxisTitle(const std::string& what, Quantity quantity, UnitSystem units) {
  return what + " (" + UnitSymbol(quantity, units) + ")";
}

std::string ValueText(double value, Quantity quantity, UnitSystem units) {
  return QuantityText(value, quantity, units) + ' ' + UnitSymbol(quantity, units);
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
    if (!seconds || altitude_.empty()) return;
    const auto same = std::find_if(events_.begin(), events_.end(),
                                   [&](const ChartEvent& e) { return std::fabs(e.at.x - *seconds) < kSameMoment; });
    if (same != events_.end()) {
      same->label += ", " + label;
    } else {
      events_.push_back({{*seconds, HeightAt(altitude_, *seconds)}, label});
    }
  }
  void AddFirings(const std::optional<LineFiring>& lineA, const std::optional<LineFiring>& lineB) {
    if (lineA && lineB && std::fabs(lineA->timeS - lineB->timeS) < kSameMoment) {
      Add(lineA->timeS, "lines A and B");
      return;
    }
    if (lineA) Add(lineA->timeS, "line A");
    if (lineB) Add(lineB->timeS, "line B");
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

std::string Typographic(std::string text) {
  static const std::pair<std::string, std::string> kPrinted[] = {{"^2", "\u00B2"}, {"+/-", "\u00B1"}};
  for (const auto& [plain, printed] : kPrinted) {
    for (size_t at = text.find(plain); at != std::string::npos; at = text.find(plain, at + printed.size())) {
      text.replace(at, plain.size(), printed);
    }
  }
  return text;
}

// The top speed the climb's fit found, at burn-out on the velocity axis: the
// smoothed samples peak later and lower.
void MarkFittedTopSpeed(const FlightStats& stats, UnitSystem units, ChartSpec& chart) {
  if (!stats.topSpeed || !stats.burnOutS) return;
  const std::string label = "top speed " + ValueText(*stats.topSpeed, Quantity::Speed, units) + " (fitted)";
  chart.events.push_back({{*stats.burnOutS, InUnits(*stats.topSpeed, Quantity::Speed, units)}, label,
                          ChartSide::Right, kVelocityColour});
  chart.legend.push_back({"top speed fitted to the climb", kVelocityColour, true});
}

}  // namespace

std::string ApogeeText(const FlightStats& stats, UnitSystem units) {
  if (!stats.apogee) return "no apogee";
  return (stats.apogeeAtLeast ? "apogee above " : "apogee ") + ValueText(*stats.apogee, Quantity::Altitude, units);
}

std::string FlightTimeText(const FlightStats& stats) {
  const std::optional<double> seconds = stats.FlightTimeS();
  return seconds ? "flight time " + ValueText(*seconds, Quantity::Time, UnitSystem::Metric) : "";
}

std::string TopSpeedText(const FlightStats& stats, UnitSystem units) {
  return stats.topSpeed ? "top speed " + ValueText(*stats.topSpeed, Quantity::Speed, units) : "";
}

std::vector<StatRow> PageStatRows(const FlightStats& stats, UnitSystem units) {
  std::vector<StatRow> rows = FlightStatRows(stats, units);
  for (StatRow& row : rows) {
    for (std::string* text : {&row.label, &row.value, &row.detail}) *text = Typographic(*text);
  }
  return rows;
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
  marks.AddFirings(stats.lineA, stats.lineB);
  marks.Add(stats.landingS, "landing");
  ChartSpec chart;
  chart.timeTitle = "time (s)";
  chart.left = {AxisTitle("altitude", Quantity::Altitude, units), kAltitudeColour};
  chart.right = ValueAxis{AxisTitle("velocity", Quantity::Speed, units), kVelocityColour};
  // The altitude last: the marks are on it.
  chart.curves = {velocity, altitude};
  chart.events = marks.Events();
  chart.legend = {{"altitude above the pad", kAltitudeColour}, {"velocity, smoothed samples", kVelocityColour}};
  MarkFittedTopSpeed(stats, units, chart);
  return chart;
}

const std::array<Rgb, kMostComparedFlights>& ComparisonPalette() {
  static const std::array<Rgb, kMostComparedFlights> palette{{
      {0, 114, 178},    // blue
      {213, 94, 0},     // vermillion
      {0, 158, 115},    // bluish green
      {196, 110, 160},  // reddish purple, a shade darker
      {136, 0, 255},    // violet
      {119, 68, 34},    // brown
      {0, 0, 0},        // black
      {85, 68, 102},    // dusky purple
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

ComparedSeries CompareFlight(const DataSet& set, const FlightStats& stats, UnitSystem units, Rgb colour) {
  ComparedSeries series{ComparisonCurve(set, stats, units, colour), std::nullopt, std::nullopt};
  const double start = ComparisonStartS(stats);
  if (stats.apogee && stats.apogeeS && !set.altitudeAgl.empty()) {
    const double height = HeightAt(AltitudePoints(set, stats, units), *stats.apogeeS);
    series.apogee = ChartEvent{{*stats.apogeeS - start, height}, ValueText(*stats.apogee, Quantity::Altitude, units),
                               ChartSide::Left, colour};
  }
  if (stats.launchS && !series.curve.points.empty()) {
    const double last = series.curve.points.back().x;
    series.endS = stats.landingS ? std::min(last, *stats.landingS - start + kLongestTailS) : last;
  }
  return series;
}

ChartSpec ComparisonChart(const std::vector<ComparedSeries>& flights, UnitSystem units) {
  ChartSpec chart;
  chart.timeTitle = "time since launch (s)";
  chart.left = {AxisTitle("altitude above the launch site", Quantity::Altitude, units), {0, 0, 0}};
  for (const ComparedSeries& flight : flights) {
    chart.curves.push_back(flight.curve);
    if (flight.apogee) chart.events.push_back(*flight.apogee);
    if (flight.endS) chart.timeEnd = std::max(chart.timeEnd.value_or(0.0), *flight.endS);
  }
  if (chart.timeEnd) *chart.timeEnd += std::max(kLeastEndMarginS, kEndMarginShare * *chart.timeEnd);
  return chart;
}

ComparedFlight ComparedFlightOf(const std::string& name, const std::string& comment, const FlightStats& stats,
                                UnitSystem units) {
  return {name,
          comment,
          ApogeeText(stats, units),
          FlightTimeText(stats),
          TopSpeedText(stats, units),
          stats.launchS ? "" : "no launch found: from its first sample"};
}
