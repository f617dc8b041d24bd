#include "view/win32/GdiplusCanvas.h"

#include <memory>
#include <vector>

using Gdiplus::PointF;
using Gdiplus::REAL;
using Gdiplus::RectF;

namespace {

REAL Real(double value) { return static_cast<REAL>(value); }

Gdiplus::Color ColourOf(Rgb colour) { return Gdiplus::Color(255, colour.red, colour.green, colour.blue); }

PointF PointOf(ChartPoint point) { return {Real(point.x), Real(point.y)}; }

RectF RectOf(const PageBox& box) { return {Real(box.left), Real(box.top), Real(box.width), Real(box.height)}; }

std::vector<PointF> PointsOf(const std::vector<ChartPoint>& points) {
  std::vector<PointF> converted;
  converted.reserve(points.size());
  for (const ChartPoint& point : points) converted.push_back(PointOf(point));
  return converted;
}

// The font's em in world units, which are points.
std::unique_ptr<Gdiplus::Font> PageFont(const TextStyle& style) {
  return std::make_unique<Gdiplus::Font>(L"Arial", Real(style.size),
                                         style.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular,
                                         Gdiplus::UnitWorld);
}

}  // namespace

GdiplusCanvas::GdiplusCanvas(Gdiplus::Graphics& graphics) : graphics_(graphics) {
  graphics_.SetSmoothingMode(Gdiplus::SmoothingModeAntiAlias);
  graphics_.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);  // pixel centres on halves, as cairo's
  graphics_.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
}

void GdiplusCanvas::StrokeLine(ChartPoint from, ChartPoint to, Rgb colour, double width) {
  const Gdiplus::Pen pen(ColourOf(colour), Real(width));
  graphics_.DrawLine(&pen, PointOf(from), PointOf(to));
}

void GdiplusCanvas::StrokeBox(const PageBox& box, Rgb colour, double width) {
  const Gdiplus::Pen pen(ColourOf(colour), Real(width));
  graphics_.DrawRectangle(&pen, RectOf(box));
}

void GdiplusCanvas::StrokeRing(ChartPoint centre, double radius, Rgb colour, double width) {
  const Gdiplus::Pen pen(ColourOf(colour), Real(width));
  graphics_.DrawEllipse(&pen, Real(centre.x - radius), Real(centre.y - radius), Real(2 * radius), Real(2 * radius));
}

void GdiplusCanvas::StrokeCurve(const std::vector<ChartPoint>& points, Rgb colour, double width,
                                const PageBox& clip) {
  if (points.size() < 2) return;
  Gdiplus::Pen pen(ColourOf(colour), Real(width));
  pen.SetLineJoin(Gdiplus::LineJoinRound);
  const Gdiplus::GraphicsState state = graphics_.Save();
  graphics_.SetClip(RectOf(clip));
  const std::vector<PointF> converted = PointsOf(points);
  graphics_.DrawLines(&pen, converted.data(), static_cast<INT>(converted.size()));
  graphics_.Restore(state);
}

void GdiplusCanvas::FillBox(const PageBox& box, Rgb colour) {
  const Gdiplus::SolidBrush brush(ColourOf(colour));
  graphics_.FillRectangle(&brush, RectOf(box));
}

void GdiplusCanvas::FillPolygon(const std::vector<ChartPoint>& corners, Rgb colour) {
  const Gdiplus::SolidBrush brush(ColourOf(colour));
  const std::vector<PointF> converted = PointsOf(corners);
  graphics_.FillPolygon(&brush, converted.data(), static_cast<INT>(converted.size()));
}

void GdiplusCanvas::ShowText(const TextStyle& style, double left, double baseline, const std::string& text,
                             double maxWidth) {
  if (text.empty()) return;
  const std::wstring wide = WideFromUtf8(text);
  const TextSize size = measure_.Measure(text, style);
  const std::unique_ptr<Gdiplus::Font> font = PageFont(style);
  const Gdiplus::SolidBrush brush(ColourOf(style.colour));
  Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
  // One line, drawn whole: the typographic format would drop a line taller than its box.
  format.SetFormatFlags((format.GetFormatFlags() & ~Gdiplus::StringFormatFlagsLineLimit) |
                        Gdiplus::StringFormatFlagsNoWrap);
  const double width = maxWidth > 0.0 && size.width > maxWidth ? maxWidth : size.width;
  if (width < size.width) format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
  // Room past the measured width and height, so that rounding never trims a text that fits.
  const RectF box(Real(left), Real(baseline - size.baseline), Real(width < size.width ? width : width + style.size),
                  Real(2.0 * size.height));
  graphics_.DrawString(wide.c_str(), static_cast<INT>(wide.size()), font.get(), box, &format, &brush);
}

void GdiplusCanvas::ShowTextUpward(const TextStyle& style, double x, double y, const std::string& text) {
  const Gdiplus::GraphicsState state = graphics_.Save();
  graphics_.TranslateTransform(Real(x), Real(y));
  graphics_.RotateTransform(-90.0f);
  ShowText(style, -measure_.Measure(text, style).width / 2.0, 0.0, text);
  graphics_.Restore(state);
}

bool PaintPageOnDc(HDC dc, const Gdiplus::Matrix& pointsToDevice, PageSize page,
                   const std::function<void(PageCanvas&)>& paint) {
  Gdiplus::Graphics graphics(dc);
  graphics.SetPageUnit(Gdiplus::UnitPixel);
  graphics.SetTransform(&pointsToDevice);
  const Gdiplus::SolidBrush white(Gdiplus::Color(255, 255, 255, 255));
  graphics.FillRectangle(&white, RectF(0, 0, Real(page.width), Real(page.height)));
  GdiplusCanvas canvas(graphics);
  paint(canvas);
  return graphics.GetLastStatus() == Gdiplus::Ok;
}
