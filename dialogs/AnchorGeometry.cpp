#include "dialogs/AnchorGeometry.h"

AnchorGeometry::AnchorGeometry(const ControlRect& rect, AnchorEdges edges, int parentWidth, int parentHeight)
    : rect_(rect), edges_(edges), parentWidth_(parentWidth), parentHeight_(parentHeight) {}

AnchorMove AnchorGeometry::Follow(int parentWidth, int parentHeight) {
  const int dw = parentWidth - parentWidth_;
  const int dh = parentHeight - parentHeight_;
  parentWidth_ = parentWidth;
  parentHeight_ = parentHeight;

  int right = rect_.x + rect_.width;
  int bottom = rect_.y + rect_.height;
  if (!edges_.keepTop) rect_.y += dh;
  if (!edges_.keepLeft) rect_.x += dw;
  if (edges_.followBottom) bottom += dh;
  if (edges_.followRight) right += dw;

  AnchorMove move;
  move.moves = !(edges_.keepTop && edges_.keepLeft);
  move.resizes = edges_.followBottom || edges_.followRight;
  // A control that is only moved keeps its size; so does its record, which
  // would otherwise drift from the window at every change.
  if (move.resizes) {
    rect_.width = right - rect_.x;
    rect_.height = bottom - rect_.y;
  }
  move.rect = rect_;
  return move;
}
