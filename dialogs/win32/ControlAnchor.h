#pragma once
// One control that follows the edges of its dialog when the dialog is resized.
#include <windows.h>

#include "dialogs/AnchorGeometry.h"

class ControlAnchor {
 public:
  // Takes the control's rectangle and its parent's client size as they are now.
  ControlAnchor(HWND control, AnchorEdges edges);

  // Defers the control's move for a parent client of the new size; returns the
  // deferred-position handle to go on with.
  HDWP Apply(HDWP positions, int parentWidth, int parentHeight);
  // Takes the control's rectangle and its parent's size again, as the
  // system left them after scaling the dialog to another DPI.
  void Retake();
  HWND Parent() const { return parent_; }

 private:
  static AnchorGeometry GeometryOf(HWND control, HWND parent, AnchorEdges edges);

  HWND control_;
  HWND parent_;
  AnchorEdges edges_;
  AnchorGeometry geometry_;
};
