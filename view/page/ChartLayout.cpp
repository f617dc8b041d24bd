#include "view/page/ChartLayout.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "data/StatUnits.h"
#include "view/page/LabelPlacement.h"

namespace {

// Room for a tick's text and the axis' title, in points.
constexpr double kValueAxisRoom = 52.0;
constexpr double kTimeAxisRoom = 34.0;
constexpr double kBareSideRoom = 16.0;  // a side without an axis: the last time tick's text
constexpr double kTopRoom = 8.0;
// About one tick per this many points, so their texts never crowd.
constexpr double kTimeTickSpacing = 55.0;
constexpr double kValueTickSpacing = 36.0;
// The legend's row: a swatch, then its text, then the next entry.
constexpr double kSwatchLength = 18.0;
constexpr double kSwatchGap = 4.0;
constexpr double kEntryGap = 16.0;
constexpr double kLegendDrop = 4.0;  // from the legend's row to the plot

struct Range {
  double min = std::numeric_limits<double>::infinity();
  double max = -std::numeric_limits<double>::infinity();

  void Add(double value) {
    min = std::min(min, value);
    max = std::max(max, value);
  }
  AxisScale Scale(double length, double spacing) const {
    return RoundScale(min, max, static_cast<int>(length / spacing));
  }
};

double Along(double value, const AxisScale& scale, double from, double length) {
  return from + (value - scale.low) / (scale.high - scale.low) * length;
}

int MostValueIntervals(const PageBox& plot) { return static_cast<int>(plot.height / kValueTickSpacing); }

// The scales that hold the chart's points up to its time axis' end.
void ScaleAxes(const ChartSpec& chart, ChartLayout& layout) {
  const double end = chart.timeEnd.value_or(std::numeric_limits<double>::infinity());
  Range time, left, right;
  const auto add = [&](const ChartPoint& point, ChartSide side) {
    if (point.x > end) return;
    time.Add(point.x);
    (side == ChartSide::Left || !chart.right ? left : right).Add(point.y);
  };
  for (const ChartCurve& curve : chart.curves) {
    for (const ChartPoint& point : curve.points) add(point, curve.side);
  }
  for (const ChartEvent& event : chart.events) add(event.at, event.side);
  if (chart.timeEnd) time.Add(*chart.timeEnd);
  layout.time = time.Scale(layout.plot.width, kTimeTickSpacing);
  if (chart.right) {
    std::tie(layout.left, layout.right) =
        SharedGridScales(left.min, left.max, right.min, right.max, MostValueIntervals(layout.plot));
  } else {
    layout.left = layout.right = left.Scale(layout.plot.height, kValueTickSpacing);
  }
}

std::vector<LegendPlace> PlaceLegend(const std::vector<LegendEntry>& legend, double left, double top,
                                     const TextMeasure& measure) {
  std::vector<LegendPlace> places;
  for (const LegendEntry& entry : legend) {
    const TextSize text = measure.Measure(entry.text, kChartLegendText);
    const double textLeft = left + kSwatchLength + kSwatchGap;
    places.push_back({{left, top, kSwatchLength, text.height}, {textLeft, top, text.width, text.height}});
    left = textLeft + text.width + kEntryGap;
  }
  return places;
}

// The curve's height at `seconds`, on the straight line between its points around it.
double HeightAt(const std::vector<ChartPoint>& points, double seconds) {
  const auto after = std::lower_bound(points.begin(), points.end(), seconds,
                                      [](const ChartPoint& point, double x) { return point.x < x; });
  if (after == points.begin() || after == points.end()) return after == points.end() ? points.back().y : after->y;
  const ChartPoint& before = *(after - 1);
  return before.y + (after->y - before.y) * (seconds - before.x) / (after->x - before.x);
}

// A mark at the time axis' end on each curve that goes on past it.
std::vector<ChartLabel> CutMarks(const ChartSpec& chart, const ChartLayout& layout) {
  std::vector<ChartLabel> cuts;
  for (const ChartCurve& curve : chart.curves) {
    if (curve.points.empty() || curve.points.back().x <= layout.time.high) continue;
    const double y = layout.Y(HeightAt(curve.points, layout.time.high), curve.side);
    const std::string text = "cut: recorded to " + FixedText(curve.points.back().x, 1) + " s";
    cuts.push_back({{layout.plot.Right(), y}, MarkShape::Cut, curve.colour, text, {}});
  }
  return cuts;
}

void PlaceLabelsOf(const ChartSpec& chart, ChartLayout& layout, const TextMeasure& measure) {
  for (const ChartEvent& event : chart.events) {
    layout.labels.push_back({{layout.X(event.at.x), layout.Y(event.at.y, event.side)}, MarkShape::Ring, event.ring,
                             event.label, {}});
  }
  for (ChartLabel& cut : CutMarks(chart, layout)) layout.labels.push_back(cut);
  std::vector<LabelRequest> requests;
  for (const ChartLabel& label : layout.labels) {
    const TextSize size = measure.Measure(label.text, kChartLabelText);
    requests.push_back({label.mark, size.width, size.height});
  }
  std::vector<PageCurve> curves;
  for (const ChartCurve& curve : chart.curves) {
    curves.emplace_back();
    for (const ChartPoint& point : curve.points) {
      curves.back().push_back({layout.X(point.x), layout.Y(point.y, curve.side)});
    }
  }
  const std::vector<PageBox> boxes = PlaceLabels(requests, layout.plot, curves);
  for (size_t i = 0; i < boxes.size(); ++i) layout.labels[i].box = boxes[i];
}

}  // namespace

double ChartLayout::X(double seconds) const { return Along(seconds, time, plot.left, plot.width); }

double ChartLayout::Y(double value, ChartSide side) const {
  return Along(value, side == ChartSide::Left ? left : right, plot.Bottom(), -plot.height);
}

ChartLayout LayOutChart(const ChartSpec& chart, const PageBox& box, const TextMeasure& measure) {
  ChartLayout layout;
  layout.legend = PlaceLegend(chart.legend, box.left + kValueAxisRoom, box.top, measure);
  const double legendRoom = layout.legend.empty() ? 0.0 : layout.legend.front().text.height + kLegendDrop;
  const double rightRoom = chart.right ? kValueAxisRoom : kBareSideRoom;
  const double top = box.top + legendRoom + kTopRoom;
  layout.plot = {box.left + kValueAxisRoom, top, box.width - kValueAxisRoom - rightRoom,
                 box.Bottom() - kTimeAxisRoom - top};
  ScaleAxes(chart, layout);
  PlaceLabelsOf(chart, layout, measure);
  return layout;
}
