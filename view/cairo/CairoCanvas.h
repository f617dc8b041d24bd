#pragma once
// A page canvas on a cairo context whose unit is the point: strokes and
// fills anti-aliased, texts shaped by Pango (view/cairo/PageText.h). Native
// builds only (cairo).
#include <cairo.h>

#include "view/cairo/PageText.h"
#include "view/page/PageCanvas.h"

class CairoCanvas : public PageCanvas {
 public:
  explicit CairoCanvas(cairo_t* cairo) : cairo_(cairo) {}

  const TextMeasure& Measure() const override { return measure_; }

  void StrokeLine(ChartPoint from, ChartPoint to, Rgb colour, double width) override;
  void StrokeBox(const PageBox& box, Rgb colour, double width) override;
  void StrokeRing(ChartPoint centre, double radius, Rgb colour, double width) override;
  void StrokeCurve(const std::vector<ChartPoint>& points, Rgb colour, double width, const PageBox& clip) override;
  void FillBox(const PageBox& box, Rgb colour) override;
  void FillPolygon(const std::vector<ChartPoint>& corners, Rgb colour) override;
  void ShowText(const TextStyle& style, double left, double baseline, const std::string& text,
                double maxWidth = 0.0) override;
  void ShowTextUpward(const TextStyle& style, double x, double y, const std::string& text) override;

 private:
  void Stroke(Rgb colour, double width);

  cairo_t* cairo_;
  PageTextMeasure measure_;
};
