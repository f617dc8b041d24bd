#include "view/cairo/CairoPainter.h"

#include <cairo-svg.h>
#include <cairo.h>

#include <vector>

#include "view/GraphColours.h"
#include "view/cairo/CairoHandles.h"
#include "view/cairo/PageText.h"

namespace {

constexpr Rgb kBlue = RgbOf(GraphColour::Blue);
constexpr Rgb kRed = RgbOf(GraphColour::Red);
constexpr Rgb kGreen = RgbOf(GraphColour::Green);

constexpr char kFontFamily[] = "Liberation Sans";
// Where GDI+ puts text from its origin: a sixth of an em in, and the baseline
// a pixel above the font's ascent (measured on the program's screenshots).
constexpr double kIndentPerEm = 1.0 / 6.0;
constexpr double kBaselineRise = 1.0;
// GDI+ centres pixels on whole coordinates, cairo on halves: lines move half a
// pixel to cover the pixels the program's pens cover.
constexpr double kPixelCentre = 0.5;

void StrokePolyline(cairo_t* cairo, const std::vector<GraphPoint>& points, Rgb colour, double width) {
  if (points.size() < 2) return;
  for (const GraphPoint& point : points) cairo_line_to(cairo, point.x + kPixelCentre, point.y + kPixelCentre);
  SetColour(cairo, colour);
  cairo_set_line_width(cairo, width);
  cairo_stroke(cairo);
}

void DrawBands(cairo_t* cairo, const std::vector<LineBand>& bands, int32_t groundY, double width) {
  for (const LineBand& band : bands) {
    StrokePolyline(cairo, {{band.x0, groundY}, {band.x1, groundY}}, RgbOf(band.colour), width);
  }
}

// GDI+ prints from the top-left corner of the text's line, cairo from the baseline.
void DrawLabels(cairo_t* cairo, const std::vector<GraphLabel>& labels, double fontPixels) {
  cairo_select_font_face(cairo, kFontFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, fontPixels);
  cairo_font_extents_t font;
  cairo_font_extents(cairo, &font);
  for (const GraphLabel& label : labels) {
    const std::wstring& wide = label.text;
    const std::string text(wide.begin(), wide.end());  // labels are ASCII
    SetColour(cairo, RgbOf(label.colour));
    cairo_move_to(cairo, label.origin.x + fontPixels * kIndentPerEm, label.origin.y + font.ascent - kBaselineRise);
    cairo_show_text(cairo, text.c_str());
  }
}

void PaintScene(cairo_t* cairo, const DataSetScene& scene) {
  SetColour(cairo, kDataSetBackground);
  cairo_paint(cairo);
  if (scene.empty) return;
  // The program's lines have hard edges; pixels are compared with its screenshots.
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_set_line_join(cairo, CAIRO_LINE_JOIN_BEVEL);
  cairo_set_line_cap(cairo, CAIRO_LINE_CAP_BUTT);
  const SceneStyle& style = scene.style;
  StrokePolyline(cairo, {{0, scene.groundY}, {scene.width, scene.groundY}}, kBlue, style.groundWidth);
  StrokePolyline(cairo, scene.altitude, kRed, style.seriesWidth);
  StrokePolyline(cairo, scene.velocity, kGreen, style.seriesWidth);
  DrawBands(cairo, scene.bands, scene.groundY, style.bandWidth);
  DrawLabels(cairo, scene.labels, style.fontPixels);
}

// True when cairo drew the whole scene onto `surface`.
bool Paint(cairo_surface_t* surface, const DataSetScene& scene) {
  const CairoContext cairo(cairo_create(surface));
  PaintScene(cairo.get(), scene);
  return cairo_status(cairo.get()) == CAIRO_STATUS_SUCCESS;
}

bool WritePng(const DataSetScene& scene, int32_t width, int32_t height, std::ostream& out) {
  const CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height));
  return Paint(surface.get(), scene) &&
         cairo_surface_write_to_png_stream(surface.get(), WriteToStream, &out) == CAIRO_STATUS_SUCCESS;
}

// The SVG surface writes as it is painted, and its end when finished.
bool WriteSvg(const DataSetScene& scene, int32_t width, int32_t height, std::ostream& out) {
  const CairoSurface surface(cairo_svg_surface_create_for_stream(WriteToStream, &out, width, height));
  if (!Paint(surface.get(), scene)) return false;
  cairo_surface_finish(surface.get());
  return cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool WriteDataSetPicture(const DataSetScene& scene, int32_t width, int32_t height, PictureFormat format,
                         std::ostream& out) {
  const bool written = format == PictureFormat::Png ? WritePng(scene, width, height, out)
                                                     : WriteSvg(scene, width, height, out);
  return written && out.good();
}
