#pragma once
// A chart of curves against time as data: what it plots, and where on the
// page each value lands. Portable; view/cairo/ChartPainter draws it, and a
// test can map a sample to the page exactly as the drawing did.
#include <optional>
#include <string>
#include <vector>

#include "view/PixelColour.h"
#include "view/cairo/ChartScale.h"

struct ChartPoint {
  double x = 0.0;  // time, s
  double y = 0.0;  // in its axis' unit
};

enum class ChartSide { Left, Right };

struct ChartCurve {
  std::vector<ChartPoint> points;
  Rgb colour;
  ChartSide side = ChartSide::Left;
};

// A moment marked on the chart: a ring at its point (left axis) and a label beside it.
struct ChartEvent {
  ChartPoint at;
  std::string label;
};

struct ValueAxis {
  std::string title;  // with its unit: "altitude (m)"
  Rgb colour;
};

struct ChartSpec {
  std::string timeTitle;  // "time (s)"
  ValueAxis left;
  std::optional<ValueAxis> right;  // for the curves on the right side
  std::vector<ChartCurve> curves;  // drawn in order, the last on top
  std::vector<ChartEvent> events;
};

// A rectangle on the page in points, y growing downward.
struct PageBox {
  double left = 0.0;
  double top = 0.0;
  double width = 0.0;
  double height = 0.0;

  double Right() const { return left + width; }
  double Bottom() const { return top + height; }
};

struct ChartLayout {
  PageBox plot;  // the area inside the axes
  AxisScale time;
  AxisScale left;
  AxisScale right;  // as `left` when the chart has no right axis

  // The page position of a time, and of a value on one side's axis.
  double X(double seconds) const;
  double Y(double value, ChartSide side) const;
};

// `chart` laid out in `box`: room around the plotting area for the ticks'
// texts and the axes' titles, and round scales that hold every point.
ChartLayout LayOutChart(const ChartSpec& chart, const PageBox& box);
