#pragma once
// A chart of curves against time as data: what it plots, where on the page
// each value lands, and where its labels and legend lie. Portable;
// view/page/ChartPainter draws it on any page canvas, and a test can map a
// sample to the page and find a label's box exactly as the drawing did.
#include <optional>
#include <string>
#include <vector>

#include "view/PixelColour.h"
#include "view/page/PageGeometry.h"
#include "view/page/ChartScale.h"
#include "view/page/TextMeasure.h"


enum class ChartSide { Left, Right };

// A curve's points are (time in s, value in its axis' unit) until laid out.
struct ChartCurve {
  std::vector<ChartPoint> points;
  Rgb colour;
  ChartSide side = ChartSide::Left;
};

// A moment marked on the chart: a ring at its point and a label beside it.
struct ChartEvent {
  ChartPoint at;
  std::string label;
  ChartSide side = ChartSide::Left;
  Rgb ring{0, 0, 0};
};

// What a colour on the chart stands for: a stroke of a curve's colour, or a
// ring for a mark.
struct LegendEntry {
  std::string text;
  Rgb colour;
  bool ring = false;
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
  std::vector<LegendEntry> legend;  // in a row above the plot; none when empty
  // Where the time axis ends when not at the last point: a curve that goes
  // on is cut at the axis' end, with a label that says so.
  std::optional<double> timeEnd;
};

constexpr TextStyle kChartLabelText{8.0, false, {0, 0, 0}};
constexpr TextStyle kChartLegendText{8.5, false, {0, 0, 0}};

enum class MarkShape { Ring, Cut };

// A mark on the chart and its label, on the page.
struct ChartLabel {
  ChartPoint mark;
  MarkShape shape = MarkShape::Ring;
  Rgb colour;  // the mark's
  std::string text;
  PageBox box;  // the text's, in kChartLabelText
};

struct LegendPlace {
  PageBox swatch;
  PageBox text;  // in kChartLegendText
};

struct ChartLayout {
  PageBox plot;  // the area inside the axes
  AxisScale time;
  AxisScale left;
  AxisScale right;  // as `left` when the chart has no right axis; else on the left's grid
  std::vector<ChartLabel> labels;  // the events' in order, then the cut curves'
  std::vector<LegendPlace> legend;  // the chart's legend entries'

  // The page position of a time, and of a value on one side's axis.
  double X(double seconds) const;
  double Y(double value, ChartSide side) const;
};

// `chart` laid out in `box`: room around the plotting area for the ticks'
// texts, the axes' titles and the legend, round scales that hold every point
// (to the time axis' end), and labels clear of each other and of the curves
// (view/page/LabelPlacement.h), their texts measured with `measure`.
ChartLayout LayOutChart(const ChartSpec& chart, const PageBox& box, const TextMeasure& measure);
