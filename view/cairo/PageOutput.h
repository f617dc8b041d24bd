#pragma once
// One page as a PDF, PNG or SVG file, drawn in points (1/72 inch) on white.
// The PDF carries the page's size and its fonts (cairo embeds the glyphs it
// uses); the SVG has the page's size in points; the PNG shows the page at
// kPngPixelsPerInch. Native builds only (cairo).
#include <cairo.h>

#include <ctime>
#include <functional>
#include <ostream>
#include <string>

#include "view/page/PageFiles.h"

// What a PDF says of its page: its title and when it was made.
struct PageInfo {
  std::string title;
  std::time_t made = 0;
};

// Draws the page with `paint`, which gets a context whose unit is the point,
// and writes it to `out` in `format` (PDF, PNG or SVG); a PDF also carries
// `info`. Results as WriteReportPage's.
bool WritePage(PageFormat format, PageSize page, const PageInfo& info, const std::function<void(cairo_t*)>& paint,
               std::ostream& out);
