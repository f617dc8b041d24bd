#pragma once
// One page as a PDF, PNG or SVG file, drawn in points (1/72 inch) on white.
// The PDF carries the page's size and its fonts (cairo embeds the glyphs it
// uses); the SVG has the page's size in points; the PNG shows the page at
// 150 pixels per inch. Native builds only (cairo).
#include <cairo.h>

#include <ctime>
#include <functional>
#include <ostream>
#include <string>

enum class PageFormat { Pdf, Png, Svg };

struct PageSize {
  double width;   // points
  double height;
};

constexpr PageSize kA4Page{595.0, 842.0};
constexpr PageSize kLetterPage{612.0, 792.0};

constexpr PageSize Landscape(PageSize page) { return {page.height, page.width}; }

constexpr double kPngPixelsPerInch = 150.0;
constexpr double kPngPixelsPerPoint = kPngPixelsPerInch / 72.0;

struct PixelSize {
  int width;
  int height;
};

// The PNG picture of a page: its points at kPngPixelsPerPoint, rounded (A4 is 1240 x 1754).
PixelSize PngSize(PageSize page);

// What a PDF says of its page: its title and when it was made.
struct PageInfo {
  std::string title;
  std::time_t made = 0;
};

// When a page was made as the page shows it, in local time: "2024-05-01 14:03".
std::string MadeAtText(std::time_t made);

// Draws the page with `paint`, which gets a context whose unit is the point,
// and writes it to `out` in `format`; a PDF also carries `info`.
//   true   every byte of the page was handed to `out` without a stream error
//   false  cairo could not draw or write it (no memory, text it refuses) or
//          `out` failed; part of the page may have been written
bool WritePage(PageFormat format, PageSize page, const PageInfo& info, const std::function<void(cairo_t*)>& paint,
               std::ostream& out);
