#include "dialogs/GroupFrameGeometry.h"

#include <gtest/gtest.h>

namespace {

TEST(GroupFrameGeometry, TheFrameRunsThroughTheCaptionsMiddle) {
  // A 300 x 100 label, a 13.5 px font (ascent 12.2, descent 2.6), caption 40.7 px.
  const GroupFrameGeometry frame = LayOutGroupFrame(300, 100, 12.2f, 2.6f, 40.7f);
  EXPECT_EQ(8, frame.top);  // (12.2 + 2.6) / 2 = 7.4, whole pixels, plus 1
  EXPECT_EQ(9, frame.caption.origin.x);
  EXPECT_EQ(0, frame.caption.origin.y);
  EXPECT_EQ(40, frame.caption.width);
  EXPECT_EQ(24, frame.caption.height);

  const struct {
    int x1, y1, x2, y2;
  } lines[] = {{5, 8, 7, 8}, {51, 8, 294, 8}, {4, 98, 295, 98}, {1, 11, 1, 94}, {298, 11, 298, 94}};
  for (size_t i = 0; i < frame.lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].x1, frame.lines[i].from.x);
    EXPECT_EQ(lines[i].y1, frame.lines[i].from.y);
    EXPECT_EQ(lines[i].x2, frame.lines[i].to.x);
    EXPECT_EQ(lines[i].y2, frame.lines[i].to.y);
  }
  const struct {
    int x, y, start;
  } corners[] = {{1, 8, 180}, {290, 8, 270}, {1, 90, 90}, {290, 90, 0}};
  for (size_t i = 0; i < frame.corners.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(corners[i].x, frame.corners[i].box.x);
    EXPECT_EQ(corners[i].y, frame.corners[i].box.y);
    EXPECT_EQ(corners[i].start, frame.corners[i].startDegrees);
  }
}

}  // namespace
