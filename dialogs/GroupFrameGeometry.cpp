#include "dialogs/GroupFrameGeometry.h"

namespace {

constexpr int kCaptionLeft = 9;
constexpr int kCaptionGap = 2;
constexpr int kCaptionExtraHeight = 10;

}  // namespace

GroupFrameGeometry LayOutGroupFrame(int right, int bottom, float ascent, float descent, float captionWidth) {
  const float lineHeight = ascent + descent;
  GroupFrameGeometry frame;
  const int top = static_cast<int>(lineHeight / 2) + 1;
  frame.top = top;
  frame.caption = {{kCaptionLeft, 0}, static_cast<int>(captionWidth), static_cast<int>(lineHeight) + kCaptionExtraHeight};
  const int afterCaption = static_cast<int>(kCaptionLeft + captionWidth + kCaptionGap);
  frame.lines = {{
      {{5, top}, {7, top}},
      {{afterCaption, top}, {right - 6, top}},
      {{4, bottom - 2}, {right - 5, bottom - 2}},
      {{1, top + 3}, {1, bottom - 6}},
      {{right - 2, top + 3}, {right - 2, bottom - 6}},
  }};
  const int farLeft = right - kFrameCornerBox - 2;
  const int farTop = bottom - kFrameCornerBox - 2;
  frame.corners = {{
      {{1, top}, 180},
      {{farLeft, top}, 270},
      {{1, farTop}, 90},
      {{farLeft, farTop}, 0},
  }};
  return frame;
}
