#pragma once
// The report and the comparison as files. Each build writes the formats of
// its own painter: PDF, PNG and SVG natively (cairo), PNG and EMF on Windows
// (GDI+); both draw the one layout of view/page.
#include <ostream>

#include "view/page/ComparisonPage.h"
#include "view/page/PageGeometry.h"
#include "view/page/ReportPage.h"

enum class PageFormat { Pdf, Png, Svg, Emf };

// Whether this build writes `format`.
bool WritesPageFormat(PageFormat format);

// The measure this build's painter lays pages out with.
const TextMeasure& PageFileTextMeasure();

// A PNG shows the page at 150 pixels per inch, whichever build drew it.
constexpr double kPngPixelsPerInch = 150.0;
constexpr double kPngPixelsPerPoint = kPngPixelsPerInch / 72.0;

struct PixelSize {
  int width;
  int height;
};

// The PNG picture of a page: its points at kPngPixelsPerPoint, rounded (A4 is 1240 x 1754).
PixelSize PngSize(PageSize page);

// Writes the page to `out` in `format` (one this build writes).
//   true   every byte of the page was handed to `out` without a stream error
//   false  it could not be drawn or written (no memory, text the painter
//          refuses, a format this build does not write) or `out` failed;
//          part of the page may have been written
bool WriteReportPage(const ReportContent& report, PageSize page, PageFormat format, std::ostream& out);
bool WriteComparisonPage(const ComparisonContent& comparison, PageFormat format, std::ostream& out);
