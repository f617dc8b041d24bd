#include "dialogs/ReportPanes.h"

#include <algorithm>
#include <cmath>

namespace {

// The page's scale in a box, never below 0 (a room smaller than the rows' share).
double ScaleIn(double width, double height, double pageWidth, double pageHeight) {
  return std::max(0.0, std::min(width / pageWidth, height / pageHeight));
}

int32_t Scaled(double length, double scale) { return static_cast<int32_t>(std::floor(length * scale)); }

}  // namespace

ReportPanes ArrangeReportPanes(const PixelBox& room, double pageWidth, double pageHeight, int32_t gap,
                               int32_t rowsWidth, int32_t rowsHeight) {
  const double width = room.right - room.left;
  const double height = room.bottom - room.top;
  const double beside = ScaleIn(width - gap - rowsWidth, height, pageWidth, pageHeight);
  const double below = ScaleIn(width, height - gap - rowsHeight, pageWidth, pageHeight);
  const bool stacked = below > beside;
  const double scale = stacked ? below : beside;
  const int32_t shownWidth = Scaled(pageWidth, scale);
  const int32_t shownHeight = Scaled(pageHeight, scale);
  if (stacked) {
    const int32_t left = room.left + (room.right - room.left - shownWidth) / 2;
    const int32_t rowsTop = room.top + shownHeight + gap;
    return {{left, room.top, left + shownWidth, room.top + shownHeight},
            {room.left, rowsTop, room.right, room.bottom},
            true};
  }
  const int32_t top = room.top + (room.bottom - room.top - shownHeight) / 2;
  const int32_t rowsLeft = room.left + shownWidth + gap;
  return {{room.left, top, room.left + shownWidth, top + shownHeight},
          {rowsLeft, room.top, room.right, room.bottom},
          false};
}
