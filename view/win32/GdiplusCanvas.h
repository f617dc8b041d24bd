#pragma once
// A page canvas on GDI+ Graphics whose world unit is the point (the caller
// sets the transform: a bitmap's pixels per point, a printer's page):
// strokes and fills anti-aliased with pixel centres where cairo has them,
// texts in Arial as view/win32/GdiTextMeasure measures them. Windows builds
// only.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <functional>

#include "view/page/PageCanvas.h"
#include "view/win32/GdiTextMeasure.h"

class GdiplusCanvas : public PageCanvas {
 public:
  explicit GdiplusCanvas(Gdiplus::Graphics& graphics);

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
  Gdiplus::Graphics& graphics_;
  GdiTextMeasure measure_;
};

// Paints a page on `dc` (a printer's, a metafile's or a window's), its
// points mapped to the device by `pointsToDevice`: a canvas on white for
// `paint`. False when GDI+ could not draw.
bool PaintPageOnDc(HDC dc, const Gdiplus::Matrix& pointsToDevice, PageSize page,
                   const std::function<void(PageCanvas&)>& paint);
