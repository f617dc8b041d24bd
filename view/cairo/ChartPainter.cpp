#include "view/cairo/ChartPainter.h"

#include <cmath>
#include <vector>

#include "view/cairo/LabelPlacement.h"
#include "view/cairo/PageText.h"

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGridColour{210, 210, 210};
constexpr double kGridWidth = 0.5;
constexpr double kFrameWidth = 0.8;
constexpr double kTickLength = 4.0;
constexpr double kCurveWidth = 1.5;  // 3 pixels at 150 dpi: its middle pixels are its pure colour
constexpr double kRingWidth = 0.9;
constexpr double kCutLength = 5.0;  // the arrowhead at the edge where a curve is cut
constexpr double kLeaderWidth = 0.5;
constexpr TextStyle kTickText{8.0, false, kBlack};
constexpr double kTitleSize = 9.0;
// From the frame to a tick's text, and to the axis' title, points.
constexpr double kTickTextGap = 3.0;
constexpr double kTimeTitleDrop = 28.0;
constexpr double kValueTitleGap = 44.0;

void StrokeLine(cairo_t* cairo, double x0, double y0, double x1, double y1) {
  cairo_move_to(cairo, x0, y0);
  cairo_line_to(cairo, x1, y1);
  cairo_stroke(cairo);
}

void StrokeRing(cairo_t* cairo, double x, double y) {
  cairo_set_line_width(cairo, kRingWidth);
  cairo_new_sub_path(cairo);
  cairo_arc(cairo, x, y, kMarkRadius, 0.0, 2.0 * M_PI);
  cairo_stroke(cairo);
}

void PaintGrid(cairo_t* cairo, const ChartLayout& layout) {
  const PageBox& plot = layout.plot;
  SetColour(cairo, kGridColour);
  cairo_set_line_width(cairo, kGridWidth);
  for (const double t : layout.time.Ticks()) StrokeLine(cairo, layout.X(t), plot.top, layout.X(t), plot.Bottom());
  for (const double v : layout.left.Ticks()) {
    const double y = layout.Y(v, ChartSide::Left);
    StrokeLine(cairo, plot.left, y, plot.Right(), y);
  }
}

void PaintTimeAxis(cairo_t* cairo, const ChartSpec& chart, const ChartLayout& layout) {
  const double bottom = layout.plot.Bottom();
  SetColour(cairo, kBlack);
  cairo_set_line_width(cairo, kFrameWidth);
  for (const double t : layout.time.Ticks()) {
    StrokeLine(cairo, layout.X(t), bottom, layout.X(t), bottom + kTickLength);
    ShowText(cairo, kTickText, layout.X(t), bottom + kTickLength + kTickTextGap + kTickText.size,
             layout.time.TickText(t), TextAlign::Centre);
  }
  ShowText(cairo, {kTitleSize, false, kBlack}, layout.plot.left + layout.plot.width / 2.0, bottom + kTimeTitleDrop,
           chart.timeTitle, TextAlign::Centre);
}

// The ticks, their values and the title of one value axis, in its colour.
void PaintValueAxis(cairo_t* cairo, const ValueAxis& axis, ChartSide side, const ChartLayout& layout) {
  const AxisScale& scale = side == ChartSide::Left ? layout.left : layout.right;
  const double edge = side == ChartSide::Left ? layout.plot.left : layout.plot.Right();
  const double outward = side == ChartSide::Left ? -1.0 : 1.0;
  const TextAlign align = side == ChartSide::Left ? TextAlign::Right : TextAlign::Left;
  const TextStyle tickText{kTickText.size, false, axis.colour};
  SetColour(cairo, axis.colour);
  cairo_set_line_width(cairo, kFrameWidth);
  for (const double v : scale.Ticks()) {
    const double y = layout.Y(v, side);
    StrokeLine(cairo, edge, y, edge + outward * kTickLength, y);
    ShowText(cairo, tickText, edge + outward * (kTickLength + kTickTextGap), y + kTickText.size * 0.35,
             scale.TickText(v), align);
  }
  // Upward text stands left of its baseline: either title lies kValueTitleGap
  // - kTitleSize to kValueTitleGap from the frame.
  const double titleX = edge + outward * kValueTitleGap + (side == ChartSide::Left ? kTitleSize : 0.0);
  ShowTextUpward(cairo, {kTitleSize, false, axis.colour}, titleX, layout.plot.top + layout.plot.height / 2.0,
                 axis.title);
}

void PaintLegend(cairo_t* cairo, const ChartSpec& chart, const ChartLayout& layout) {
  for (size_t i = 0; i < layout.legend.size(); ++i) {
    const LegendEntry& entry = chart.legend[i];
    const PageBox& swatch = layout.legend[i].swatch;
    const double middle = swatch.top + swatch.height / 2.0;
    SetColour(cairo, entry.colour);
    if (entry.ring) {
      StrokeRing(cairo, swatch.left + swatch.width / 2.0, middle);
    } else {
      cairo_set_line_width(cairo, kCurveWidth);
      StrokeLine(cairo, swatch.left, middle, swatch.Right(), middle);
    }
    ShowTextFrom(cairo, kChartLegendText, layout.legend[i].text.left, layout.legend[i].text.top, entry.text);
  }
}

void PaintCurves(cairo_t* cairo, const ChartSpec& chart, const ChartLayout& layout) {
  const PageBox& plot = layout.plot;
  cairo_save(cairo);
  cairo_rectangle(cairo, plot.left, plot.top, plot.width, plot.height);
  cairo_clip(cairo);
  cairo_set_line_width(cairo, kCurveWidth);
  cairo_set_line_join(cairo, CAIRO_LINE_JOIN_ROUND);
  for (const ChartCurve& curve : chart.curves) {
    for (const ChartPoint& point : curve.points) {
      cairo_line_to(cairo, layout.X(point.x), layout.Y(point.y, curve.side));
    }
    SetColour(cairo, curve.colour);
    cairo_stroke(cairo);
  }
  cairo_restore(cairo);
}

// From the mark's edge to the nearest point of its label's box.
void PaintLeader(cairo_t* cairo, const ChartPoint& mark, const PageBox& box) {
  const ChartPoint near = NearestPoint(box, mark);
  const double length = std::hypot(near.x - mark.x, near.y - mark.y);
  if (length <= kMarkRadius) return;
  const double share = kMarkRadius / length;
  SetColour(cairo, kBlack);
  cairo_set_line_width(cairo, kLeaderWidth);
  StrokeLine(cairo, mark.x + (near.x - mark.x) * share, mark.y + (near.y - mark.y) * share, near.x, near.y);
}

// An arrowhead on the frame's right edge, pointing on.
void PaintCut(cairo_t* cairo, const ChartPoint& at) {
  cairo_move_to(cairo, at.x - kCutLength, at.y - kCutLength / 2.0);
  cairo_line_to(cairo, at.x, at.y);
  cairo_line_to(cairo, at.x - kCutLength, at.y + kCutLength / 2.0);
  cairo_close_path(cairo);
  cairo_fill(cairo);
}

void PaintLabels(cairo_t* cairo, const ChartLayout& layout) {
  for (const ChartLabel& label : layout.labels) {
    SetColour(cairo, label.colour);
    if (label.shape == MarkShape::Ring) {
      StrokeRing(cairo, label.mark.x, label.mark.y);
    } else {
      PaintCut(cairo, label.mark);
    }
    PaintLeader(cairo, label.mark, label.box);
    ShowTextFrom(cairo, kChartLabelText, label.box.left, label.box.top, label.text);
  }
}

}  // namespace

void PaintChart(cairo_t* cairo, const ChartSpec& chart, const ChartLayout& layout) {
  cairo_save(cairo);
  PaintGrid(cairo, layout);
  SetColour(cairo, kBlack);
  cairo_set_line_width(cairo, kFrameWidth);
  cairo_rectangle(cairo, layout.plot.left, layout.plot.top, layout.plot.width, layout.plot.height);
  cairo_stroke(cairo);
  PaintCurves(cairo, chart, layout);  // over the frame, where a curve starts
  PaintTimeAxis(cairo, chart, layout);
  PaintValueAxis(cairo, chart.left, ChartSide::Left, layout);
  if (chart.right) PaintValueAxis(cairo, *chart.right, ChartSide::Right, layout);
  PaintLegend(cairo, chart, layout);
  PaintLabels(cairo, layout);
  cairo_restore(cairo);
}
