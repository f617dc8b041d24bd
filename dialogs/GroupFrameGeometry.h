#pragma once
// Where the parts of a group frame lie in its label's client area: the caption
// at the top left, five straight lines and four rounded corners.
#include <array>

struct FramePoint {
  int x = 0;
  int y = 0;
};

struct FrameLine {
  FramePoint from;
  FramePoint to;
};

// A 90-degree arc in an 8 x 8 box whose top-left corner is `box`.
struct FrameArc {
  FramePoint box;
  int startDegrees = 0;
};

struct FrameCaption {
  FramePoint origin;  // where the caption's bitmap is drawn
  int width = 0;
  int height = 0;
};

struct GroupFrameGeometry {
  int top = 0;  // y of the frame's top edge: through the middle of the caption
  FrameCaption caption;
  std::array<FrameLine, 5> lines;  // top left and right of the caption, bottom, left, right
  std::array<FrameArc, 4> corners;  // top left, top right, bottom left, bottom right
};

constexpr int kFrameCornerBox = 8;
constexpr int kFrameCornerSweep = 90;

// The frame of a label whose item rectangle runs from (0, 0) to (right,
// bottom), for a font of that ascent and descent (pixels) and a caption
// measured `captionWidth` wide.
GroupFrameGeometry LayOutGroupFrame(int right, int bottom, float ascent, float descent, float captionWidth);
