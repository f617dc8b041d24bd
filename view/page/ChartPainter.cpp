#include "view/page/ChartPainter.h"

#include <cmath>
#include <vector>

#include "view/page/LabelPlacement.h"

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

void PaintGrid(PageCanvas& canvas, const ChartLayout& layout) {
  const PageBox& plot = layout.plot;
  for (const double t : layout.time.Ticks()) {
    canvas.StrokeLine({layout.X(t), plot.top}, {layout.X(t), plot.Bottom()}, kGridColour, kGridWidth);
  }
  for (const double v : layout.left.Ticks()) {
    const double y = layout.Y(v, ChartSide::Left);
    canvas.StrokeLine({plot.left, y}, {plot.Right(), y}, kGridColour, kGridWidth);
  }
}

void PaintTimeAxis(PageCanvas& canvas, const ChartSpec& chart, const ChartLayout& layout) {
  const double bottom = layout.plot.Bottom();
  for (const double t : layout.time.Ticks()) {
    canvas.StrokeLine({layout.X(t), bottom}, {layout.X(t), bottom + kTickLength}, kBlack, kFrameWidth);
    ShowAlignedText(canvas, kTickText, layout.X(t), bottom + kTickLength + kTickTextGap + kTickText.size,
                    layout.time.TickText(t), TextAlign::Centre);
  }
  ShowAlignedText(canvas, {kTitleSize, false, kBlack}, layout.plot.left + layout.plot.width / 2.0,
                  bottom + kTimeTitleDrop, chart.timeTitle, TextAlign::Centre);
}

// The ticks, their values and the title of one value axis, in its colour.
void PaintValueAxis(PageCanvas& canvas, const ValueAxis& axis, ChartSide side, const ChartLayout& layout) {
  const AxisScale& scale = side == ChartSide::Left ? layout.left : layout.right;
  const double edge = side == ChartSide::Left ? layout.plot.left : layout.plot.Right();
  const double outward = side == ChartSide::Left ? -1.0 : 1.0;
  const TextAlign align = side == ChartSide::Left ? TextAlign::Right : TextAlign::Left;
  const TextStyle tickText{kTickText.size, false, axis.colour};
  for (const double v : scale.Ticks()) {
    const double y = layout.Y(v, side);
    canvas.StrokeLine({edge, y}, {edge + outward * kTickLength, y}, axis.colour, kFrameWidth);
    ShowAlignedText(canvas, tickText, edge + outward * (kTickLength + kTickTextGap), y + kTickText.size * 0.35,
                    scale.TickText(v), align);
  }
  // Upward text stands left of its baseline: either title lies kValueTitleGap
  // - kTitleSize to kValueTitleGap from the frame.
  const double titleX = edge + outward * kValueTitleGap + (side == ChartSide::Left ? kTitleSize : 0.0);
  canvas.ShowTextUpward({kTitleSize, false, axis.colour}, titleX, layout.plot.top + layout.plot.height / 2.0,
                        axis.title);
}

void PaintLegend(PageCanvas& canvas, const ChartSpec& chart, const ChartLayout& layout) {
  for (size_t i = 0; i < layout.legend.size(); ++i) {
    const LegendEntry& entry = chart.legend[i];
    const PageBox& swatch = layout.legend[i].swatch;
    const double middle = swatch.top + swatch.height / 2.0;
    if (entry.ring) {
      canvas.StrokeRing({swatch.left + swatch.width / 2.0, middle}, kMarkRadius, entry.colour, kRingWidth);
    } else {
      canvas.StrokeLine({swatch.left, middle}, {swatch.Right(), middle}, entry.colour, kCurveWidth);
    }
    ShowTextFrom(canvas, kChartLegendText, layout.legend[i].text.left, layout.legend[i].text.top, entry.text);
  }
}

void PaintCurves(PageCanvas& canvas, const ChartSpec& chart, const ChartLayout& layout) {
  for (const ChartCurve& curve : chart.curves) {
    std::vector<ChartPoint> onPage;
    onPage.reserve(curve.points.size());
    for (const ChartPoint& point : curve.points) onPage.push_back({layout.X(point.x), layout.Y(point.y, curve.side)});
    canvas.StrokeCurve(onPage, curve.colour, kCurveWidth, layout.plot);
  }
}

// From the mark's edge to the nearest point of its label's box.
void PaintLeader(PageCanvas& canvas, const ChartPoint& mark, const PageBox& box) {
  const ChartPoint near = NearestPoint(box, mark);
  const double length = std::hypot(near.x - mark.x, near.y - mark.y);
  if (length <= kMarkRadius) return;
  const double share = kMarkRadius / length;
  canvas.StrokeLine({mark.x + (near.x - mark.x) * share, mark.y + (near.y - mark.y) * share}, near, kBlack,
                    kLeaderWidth);
}

// An arrowhead on the frame's right edge, pointing on.
void PaintCut(PageCanvas& canvas, const ChartPoint& at, Rgb colour) {
  canvas.FillPolygon(
      {{at.x - kCutLength, at.y - kCutLength / 2.0}, at, {at.x - kCutLength, at.y + kCutLength / 2.0}}, colour);
}

void PaintLabels(PageCanvas& canvas, const ChartLayout& layout) {
  for (const ChartLabel& label : layout.labels) {
    if (label.shape == MarkShape::Ring) {
      canvas.StrokeRing(label.mark, kMarkRadius, label.colour, kRingWidth);
    } else {
      PaintCut(canvas, label.mark, label.colour);
    }
    PaintLeader(canvas, label.mark, label.box);
    ShowTextFrom(canvas, kChartLabelText, label.box.left, label.box.top, label.text);
  }
}

}  // namespace

void PaintChart(PageCanvas& canvas, const ChartSpec& chart, const ChartLayout& layout) {
  PaintGrid(canvas, layout);
  canvas.StrokeBox(layout.plot, kBlack, kFrameWidth);
  PaintCurves(canvas, chart, layout);  // over the frame, where a curve starts
  PaintTimeAxis(canvas, chart, layout);
  PaintValueAxis(canvas, chart.left, ChartSide::Left, layout);
  if (chart.right) PaintValueAxis(canvas, *chart.right, ChartSide::Right, layout);
  PaintLegend(canvas, chart, layout);
  PaintLabels(canvas, layout);
}
