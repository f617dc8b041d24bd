#pragma once
// Where Flight Report shows its page and its statistics in the room it has:
// the statistics beside the page, or below it when that shows the page
// larger (a dialog made narrow and tall). Portable.
#include <cstdint>

#include "view/PixelBox.h"

struct ReportPanes {
  PixelBox page;  // the page's shape, as large as the room allows
  PixelBox rows;  // the rest of the room, past the gap
  bool stacked;   // the rows below the page
};

// `room` shared by a page of `pageWidth` x `pageHeight` (any unit) and the
// rows, which keep at least `rowsWidth` beside the page or `rowsHeight`
// below it, `gap` pixels apart. The page is centred across its band.
ReportPanes ArrangeReportPanes(const PixelBox& room, double pageWidth, double pageHeight, int32_t gap,
                               int32_t rowsWidth, int32_t rowsHeight);
