#include "view/cairo/PageOutput.h"

#include <cairo-pdf.h>
#include <cairo-svg.h>

#include "view/cairo/CairoHandles.h"

namespace {

// True when cairo drew the whole page onto `surface`.
bool Paint(cairo_surface_t* surface, double scale, const std::function<void(cairo_t*)>& paint) {
  const CairoContext cairo(cairo_create(surface));
  cairo_scale(cairo.get(), scale, scale);
  cairo_set_source_rgb(cairo.get(), 1.0, 1.0, 1.0);
  cairo_paint(cairo.get());
  paint(cairo.get());
  return cairo_status(cairo.get()) == CAIRO_STATUS_SUCCESS;
}

// The vector surfaces write as they are painted, and their end when finished.
bool Finish(cairo_surface_t* surface) {
  cairo_surface_finish(surface);
  return cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
}

std::string TimeText(const char* format, const std::tm* time) {
  char text[32] = "";
  if (time != nullptr) std::strftime(text, sizeof text, format, time);
  return text;
}

bool WritePdf(PageSize page, const PageInfo& info, const std::function<void(cairo_t*)>& paint, std::ostream& out) {
  const CairoSurface surface(cairo_pdf_surface_create_for_stream(WriteToStream, &out, page.width, page.height));
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_TITLE, info.title.c_str());
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATOR, "zeltool");
  // Else cairo dates the file itself, and the same page is never the same file.
  const std::string created = TimeText("%Y-%m-%dT%H:%M:%SZ", std::gmtime(&info.made));
  cairo_pdf_surface_set_metadata(surface.get(), CAIRO_PDF_METADATA_CREATE_DATE, created.c_str());
  return Paint(surface.get(), 1.0, paint) && Finish(surface.get());
}

bool WriteSvg(PageSize page, const std::function<void(cairo_t*)>& paint, std::ostream& out) {
  const CairoSurface surface(cairo_svg_surface_create_for_stream(WriteToStream, &out, page.width, page.height));
  return Paint(surface.get(), 1.0, paint) && Finish(surface.get());
}

bool WritePng(PageSize page, const std::function<void(cairo_t*)>& paint, std::ostream& out) {
  const PixelSize size = PngSize(page);
  const CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height));
  return Paint(surface.get(), kPngPixelsPerPoint, paint) &&
         cairo_surface_write_to_png_stream(surface.get(), WriteToStream, &out) == CAIRO_STATUS_SUCCESS;
}

}  // namespace

bool WritePage(PageFormat format, PageSize page, const PageInfo& info, const std::function<void(cairo_t*)>& paint,
               std::ostream& out) {
  bool written = false;
  switch (format) {
    case PageFormat::Pdf:
      written = WritePdf(page, info, paint, out);
      break;
    case PageFormat::Png:
      written = WritePng(page, paint, out);
      break;
    case PageFormat::Svg:
      written = WriteSvg(page, paint, out);
      break;
    case PageFormat::Emf:
      break;
  }
  return written && out.good();
}
