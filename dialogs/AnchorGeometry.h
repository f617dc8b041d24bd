#pragma once
// How a control follows the edges of its resized dialog: the arithmetic of a
// control anchor, apart from the windows it moves.
#include <cstdint>

struct ControlRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Which edges a control holds to. keepTop / keepLeft: the top-left corner stays
// (otherwise it moves with the bottom / right edge); followBottom / followRight:
// the bottom / right edge moves with the dialog's.
struct AnchorEdges {
  bool keepTop = false;
  bool keepLeft = false;
  bool followBottom = false;
  bool followRight = false;
};

// What a size change asks of the control.
struct AnchorMove {
  ControlRect rect;
  bool moves = false;    // false: SWP_NOMOVE
  bool resizes = false;  // false: SWP_NOSIZE
};

class AnchorGeometry {
 public:
  // `rect` is the control's rectangle and (parentWidth, parentHeight) the
  // dialog's client size, both as the anchor is made.
  AnchorGeometry(const ControlRect& rect, AnchorEdges edges, int parentWidth, int parentHeight);

  // The control's new rectangle for a dialog client of the new size; it and the
  // size are kept for the next change, so the window is never asked again.
  AnchorMove Follow(int parentWidth, int parentHeight);

  const ControlRect& Rect() const { return rect_; }

 private:
  ControlRect rect_;
  AnchorEdges edges_;
  int parentWidth_;
  int parentHeight_;
};
