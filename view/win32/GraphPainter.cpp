#include "view/win32/GraphPainter.h"

#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "view/GraphColours.h"

namespace {

using Gdiplus::Color;
using Gdiplus::Graphics;
using Gdiplus::Pen;

Color ColourOf(GraphColour colour) {
  const Rgb rgb = RgbOf(colour);
  return Color(0xFF, rgb.red, rgb.green, rgb.blue);
}

const Color kBlue = ColourOf(GraphColour::Blue);
const Color kRed = ColourOf(GraphColour::Red);
const Color kGreen = ColourOf(GraphColour::Green);

// One path for the whole series: a segment at a time is an order of magnitude
// slower under GDI+.
void DrawSeries(Graphics& graphics, const std::vector<GraphPoint>& series, const Color& colour, float width,
                SeriesStroke stroke) {
  if (series.size() < 2) return;
  Pen pen(colour, width);
  // The default mitre throws spikes of up to ten pen widths at sharp reversals;
  // a bevel stays within half a pen width of the sample.
  pen.SetLineJoin(Gdiplus::LineJoinBevel);
  std::vector<Gdiplus::Point> points;
  points.reserve(series.size());
  for (const GraphPoint& point : series) points.emplace_back(point.x, point.y);
  if (stroke == SeriesStroke::OnePath) {
    graphics.DrawLines(&pen, points.data(), static_cast<INT>(points.size()));
    return;
  }
  for (size_t i = 1; i < points.size(); ++i) graphics.DrawLine(&pen, points[i - 1], points[i]);
}

void DrawGround(Graphics& graphics, int32_t width, int32_t groundY, float penWidth) {
  const Pen pen(kBlue, penWidth);
  graphics.DrawLine(&pen, 0, groundY, width, groundY);
}

void DrawBands(Graphics& graphics, const std::vector<LineBand>& bands, int32_t groundY) {
  constexpr float kBandWidth = 15.0f;
  const Pen red(kRed, kBandWidth);
  const Pen blue(kBlue, kBandWidth);
  for (const LineBand& band : bands) {
    graphics.DrawLine(band.colour == GraphColour::Red ? &red : &blue, band.x0, groundY, band.x1, groundY);
  }
}

void DrawLabels(Graphics& graphics, const std::vector<GraphLabel>& labels) {
  const Gdiplus::Font font(L"Arial", 12.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPoint);
  for (const GraphLabel& label : labels) {
    const Gdiplus::SolidBrush brush(ColourOf(label.colour));
    const Gdiplus::PointF origin(static_cast<Gdiplus::REAL>(label.origin.x),
                                 static_cast<Gdiplus::REAL>(label.origin.y));
    graphics.DrawString(label.text.c_str(), -1, &font, origin, &brush);
  }
}

}  // namespace

void PaintDataSetScene(HDC dc, const DataSetScene& scene, SeriesStroke stroke) {
  if (scene.empty) return;
  Graphics graphics(dc);
  DrawGround(graphics, scene.width, scene.groundY, 1.0f);
  DrawSeries(graphics, scene.altitude, kRed, kDataSetSeriesWidth, stroke);
  DrawSeries(graphics, scene.velocity, kGreen, kDataSetSeriesWidth, stroke);
  DrawBands(graphics, scene.bands, scene.groundY);
  DrawLabels(graphics, scene.labels);
}

void PaintLiveScene(HDC dc, const LiveScene& scene, SeriesStroke stroke) {
  Graphics graphics(dc);
  DrawGround(graphics, scene.width, scene.groundY, kLiveSeriesWidth);
  DrawSeries(graphics, scene.samples, kRed, kLiveSeriesWidth, stroke);
  DrawLabels(graphics, scene.labels);
}
