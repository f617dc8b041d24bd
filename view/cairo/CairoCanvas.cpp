#include "view/cairo/CairoCanvas.h"

#include <cmath>

void CairoCanvas::Stroke(Rgb colour, double width) {
  SetColour(cairo_, colour);
  cairo_set_line_width(cairo_, width);
  cairo_stroke(cairo_);
}

void CairoCanvas::StrokeLine(ChartPoint from, ChartPoint to, Rgb colour, double width) {
  cairo_move_to(cairo_, from.x, from.y);
  cairo_line_to(cairo_, to.x, to.y);
  Stroke(colour, width);
}

void CairoCanvas::StrokeBox(const PageBox& box, Rgb colour, double width) {
  cairo_rectangle(cairo_, box.left, box.top, box.width, box.height);
  Stroke(colour, width);
}

void CairoCanvas::StrokeRing(ChartPoint centre, double radius, Rgb colour, double width) {
  cairo_new_sub_path(cairo_);
  cairo_arc(cairo_, centre.x, centre.y, radius, 0.0, 2.0 * M_PI);
  Stroke(colour, width);
}

void CairoCanvas::StrokeCurve(const std::vector<ChartPoint>& points, Rgb colour, double width, const PageBox& clip) {
  cairo_save(cairo_);
  cairo_rectangle(cairo_, clip.left, clip.top, clip.width, clip.height);
  cairo_clip(cairo_);
  cairo_set_line_join(cairo_, CAIRO_LINE_JOIN_ROUND);
  for (const ChartPoint& point : points) cairo_line_to(cairo_, point.x, point.y);
  Stroke(colour, width);
  cairo_restore(cairo_);
}

void CairoCanvas::FillBox(const PageBox& box, Rgb colour) {
  cairo_rectangle(cairo_, box.left, box.top, box.width, box.height);
  SetColour(cairo_, colour);
  cairo_fill(cairo_);
}

void CairoCanvas::FillPolygon(const std::vector<ChartPoint>& corners, Rgb colour) {
  for (const ChartPoint& corner : corners) cairo_line_to(cairo_, corner.x, corner.y);
  cairo_close_path(cairo_);
  SetColour(cairo_, colour);
  cairo_fill(cairo_);
}

void CairoCanvas::ShowText(const TextStyle& style, double left, double baseline, const std::string& text,
                           double maxWidth) {
  const PangoContextHandle context = PageTextContext(cairo_);
  const PangoLayoutHandle layout = PageTextLayout(context.get(), text, style, maxWidth);
  ShowLayout(cairo_, layout.get(), style.colour, left, baseline);
}

void CairoCanvas::ShowTextUpward(const TextStyle& style, double x, double y, const std::string& text) {
  cairo_save(cairo_);
  cairo_translate(cairo_, x, y);
  cairo_rotate(cairo_, -M_PI / 2.0);
  ShowText(style, -measure_.Measure(text, style).width / 2.0, 0.0, text);
  cairo_restore(cairo_);
}
