#include "view/cairo/ChartLayout.h"

#include <algorithm>
#include <limits>

namespace {

// Room for a tick's text and the axis' title, in points.
constexpr double kValueAxisRoom = 52.0;
constexpr double kTimeAxisRoom = 34.0;
constexpr double kBareSideRoom = 16.0;  // a side without an axis: the last time tick's text
constexpr double kTopRoom = 8.0;
// About one tick per this many points, so their texts never crowd.
constexpr double kTimeTickSpacing = 55.0;
constexpr double kValueTickSpacing = 36.0;

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

}  // namespace

double ChartLayout::X(double seconds) const { return Along(seconds, time, plot.left, plot.width); }

double ChartLayout::Y(double value, ChartSide side) const {
  return Along(value, side == ChartSide::Left ? left : right, plot.Bottom(), -plot.height);
}

ChartLayout LayOutChart(const ChartSpec& chart, const PageBox& box) {
  ChartLayout layout;
  const double rightRoom = chart.right ? kValueAxisRoom : kBareSideRoom;
  layout.plot = {box.left + kValueAxisRoom, box.top + kTopRoom, box.width - kValueAxisRoom - rightRoom,
                 box.height - kTopRoom - kTimeAxisRoom};
  Range time, left, right;
  for (const ChartCurve& curve : chart.curves) {
    for (const ChartPoint& point : curve.points) {
      time.Add(point.x);
      (curve.side == ChartSide::Left || !chart.right ? left : right).Add(point.y);
    }
  }
  for (const ChartEvent& event : chart.events) {
    time.Add(event.at.x);
    left.Add(event.at.y);
  }
  layout.time = time.Scale(layout.plot.width, kTimeTickSpacing);
  layout.left = left.Scale(layout.plot.height, kValueTickSpacing);
  layout.right = chart.right ? right.Scale(layout.plot.height, kValueTickSpacing) : layout.left;
  return layout;
}
