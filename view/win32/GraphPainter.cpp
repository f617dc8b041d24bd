#include "view/win32/GraphPainter.h"

#include <objidl.h>
#include <gdiplus.h>

#include <cmath>
#include <vector>

#include "view/GraphColours.h"
#include "view/win32/ThinPolylines.h"

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

// One path for the whole series, or for its points from `first` on: a segment
// at a time is an order of magnitude slower under GDI+.
void DrawSeries(Graphics& graphics, const std::vector<GraphPoint>& series, const Color& colour, float width,
                SeriesStroke stroke, size_t first = 0) {
  if (series.size() < first + 2) return;
  Pen pen(colour, width);
  // The default mitre throws spikes of up to ten pen widths at sharp reversals;
  // a bevel stays within half a pen width of the sample.
  pen.SetLineJoin(Gdiplus::LineJoinBevel);
  std::vector<Gdiplus::Point> points;
  points.reserve(series.size() - first);
  for (size_t i = first; i < series.size(); ++i) points.emplace_back(series[i].x, series[i].y);
  if (stroke == SeriesStroke::OnePath) {
    graphics.DrawLines(&pen, points.data(), static_cast<INT>(points.size()));
    return;
  }
  for (size_t i = 1; i < points.size(); ++i) graphics.DrawLine(&pen, points[i - 1], points[i]);
}

// The device context under a graphics, for GDI calls between its own.
class GraphicsDc {
 public:
  explicit GraphicsDc(Graphics& graphics) : graphics_(graphics), dc_(graphics.GetHDC()) {}
  ~GraphicsDc() { graphics_.ReleaseHDC(dc_); }
  GraphicsDc(const GraphicsDc&) = delete;
  GraphicsDc& operator=(const GraphicsDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  Graphics& graphics_;
  HDC dc_;
};

// Thin polylines stand in for a 2-pixel pen only.
constexpr float kThinPolylineWidth = 2.0f;

void DrawDataSetSeries(Graphics& graphics, const std::vector<GraphPoint>& series, const Color& colour, float width,
                       SeriesStroke stroke) {
  if (stroke == SeriesStroke::ThinPolylines && width != kThinPolylineWidth) stroke = SeriesStroke::OnePath;
  if (stroke != SeriesStroke::ThinPolylines) {
    DrawSeries(graphics, series, colour, width, stroke);
    return;
  }
  const GraphicsDc dc(graphics);
  DrawThinPolylines(dc.Get(), series, colour.ToCOLORREF());
}

void DrawGround(Graphics& graphics, int32_t width, int32_t groundY, float penWidth) {
  const Pen pen(kBlue, penWidth);
  graphics.DrawLine(&pen, 0, groundY, width, groundY);
}

void DrawBands(Graphics& graphics, const std::vector<LineBand>& bands, int32_t groundY, float width) {
  const Pen red(kRed, width);
  const Pen blue(kBlue, width);
  for (const LineBand& band : bands) {
    graphics.DrawLine(band.colour == GraphColour::Red ? &red : &blue, band.x0, groundY, band.x1, groundY);
  }
}

// In pixels of the scene's DPI, not in points of the device context's.
class LabelFont : public Gdiplus::Font {
 public:
  explicit LabelFont(const SceneStyle& style)
      : Gdiplus::Font(L"Arial", style.fontPixels, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel) {}
};

Gdiplus::PointF OriginOf(const GraphLabel& label) {
  return {static_cast<Gdiplus::REAL>(label.origin.x), static_cast<Gdiplus::REAL>(label.origin.y)};
}

void DrawLabels(Graphics& graphics, const std::vector<GraphLabel>& labels, const SceneStyle& style) {
  const LabelFont font(style);
  for (const GraphLabel& label : labels) {
    const Gdiplus::SolidBrush brush(ColourOf(label.colour));
    graphics.DrawString(label.text.c_str(), -1, &font, OriginOf(label), &brush);
  }
}

void DrawLiveLayer(Graphics& graphics, const LiveScene& scene, SeriesStroke stroke) {
  DrawGround(graphics, scene.width, scene.groundY, scene.style.groundWidth);
  DrawSeries(graphics, scene.samples, kRed, scene.style.seriesWidth, stroke);
}

}  // namespace

void PaintDataSetScene(HDC dc, const DataSetScene& scene, SeriesStroke stroke) {
  if (scene.empty) return;
  Graphics graphics(dc);
  DrawGround(graphics, scene.width, scene.groundY, scene.style.groundWidth);
  DrawDataSetSeries(graphics, scene.altitude, kRed, scene.style.seriesWidth, stroke);
  DrawDataSetSeries(graphics, scene.velocity, kGreen, scene.style.seriesWidth, stroke);
  DrawBands(graphics, scene.bands, scene.groundY, scene.style.bandWidth);
  DrawLabels(graphics, scene.labels, scene.style);
}

void PaintLiveScene(HDC dc, const LiveScene& scene, SeriesStroke stroke) {
  Graphics graphics(dc);
  DrawLiveLayer(graphics, scene, stroke);
  DrawLabels(graphics, scene.labels, scene.style);
}

void PaintLiveLayer(HDC dc, const LiveScene& scene) {
  Graphics graphics(dc);
  DrawLiveLayer(graphics, scene, SeriesStroke::OnePath);
}

// Under Wine a wide line costs as much clipped away as drawn.
void PaintLiveLayerArea(HDC dc, const LiveScene& scene, const RECT& area, size_t first) {
  Graphics graphics(dc);
  graphics.SetClip(Gdiplus::Rect(area.left, area.top, area.right - area.left, area.bottom - area.top));
  const int32_t reach = StrokeReach(scene.style.groundWidth);
  if (area.top <= scene.groundY + reach && scene.groundY - reach < area.bottom) {
    DrawGround(graphics, scene.width, scene.groundY, scene.style.groundWidth);
  }
  DrawSeries(graphics, scene.samples, kRed, scene.style.seriesWidth, SeriesStroke::OnePath, first);
}

void PaintLabels(HDC dc, const std::vector<GraphLabel>& labels, const SceneStyle& style) {
  Graphics graphics(dc);
  DrawLabels(graphics, labels, style);
}

// Glyphs stay inside the measured box, which has room on each side; the margin
// is for rounding.
RECT LabelBounds(HDC dc, const GraphLabel& label, const SceneStyle& style) {
  constexpr LONG kMargin = 2;
  const Graphics graphics(dc);
  const LabelFont font(style);
  Gdiplus::RectF box;
  graphics.MeasureString(label.text.c_str(), -1, &font, OriginOf(label), &box);
  return {static_cast<LONG>(std::floor(box.X)) - kMargin, static_cast<LONG>(std::floor(box.Y)) - kMargin,
          static_cast<LONG>(std::ceil(box.GetRight())) + kMargin,
          static_cast<LONG>(std::ceil(box.GetBottom())) + kMargin};
}
