// Flight Report's page and rows share the room: the page keeps its shape, the
// rows keep their width beside it or their height below it, and they go below
// only when that shows the page larger.
#include "dialogs/ReportPanes.h"

#include <gtest/gtest.h>

namespace {

constexpr double kA4Width = 595.0;
constexpr double kA4Height = 842.0;
constexpr int32_t kGap = 10;
constexpr int32_t kRowsWidth = 400;
constexpr int32_t kRowsHeight = 300;

int32_t Width(const PixelBox& box) { return box.right - box.left; }
int32_t Height(const PixelBox& box) { return box.bottom - box.top; }

bool Inside(const PixelBox& inner, const PixelBox& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST(ReportPanes, ThePageTakesTheArrangementThatShowsItLarger) {
  const struct {
    const char* name;
    PixelBox room;
    bool stacked;
    int32_t pageHeight;  // the side that limits it
  } cases[] = {
      {"a wide room: rows beside, the page as high as the room", {10, 10, 790, 430}, false, 420},
      {"a narrow, tall room: rows below", {10, 10, 790, 1410}, true, 1400 - kGap - kRowsHeight},
      {"beside, the rows' width limiting the page", {0, 0, 900, 800}, false, 693},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ReportPanes panes = ArrangeReportPanes(c.room, kA4Width, kA4Height, kGap, kRowsWidth, kRowsHeight);
    EXPECT_EQ(c.stacked, panes.stacked);
    EXPECT_NEAR(c.pageHeight, Height(panes.page), 1);
    EXPECT_NEAR(kA4Width / kA4Height, static_cast<double>(Width(panes.page)) / Height(panes.page), 0.01);
    EXPECT_TRUE(Inside(panes.page, c.room));
    EXPECT_TRUE(Inside(panes.rows, c.room));
    EXPECT_FALSE(SharePixels(panes.page, panes.rows));
    if (panes.stacked) {
      EXPECT_EQ(panes.page.bottom + kGap, panes.rows.top);
      EXPECT_GE(Height(panes.rows), kRowsHeight);
    } else {
      EXPECT_EQ(panes.page.right + kGap, panes.rows.left);
      EXPECT_GE(Width(panes.rows), kRowsWidth);
    }
  }
}

TEST(ReportPanes, ARoomTooSmallForTheRowsLeavesThePageEmpty) {
  const ReportPanes panes = ArrangeReportPanes({0, 0, 300, 200}, kA4Width, kA4Height, kGap, kRowsWidth, kRowsHeight);
  EXPECT_TRUE(panes.page.Empty());
  EXPECT_GE(Width(panes.page), 0);
  EXPECT_GE(Height(panes.page), 0);
}

}  // namespace
