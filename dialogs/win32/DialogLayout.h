#pragma once
// The resizing of one dialog: a minimum (and optional maximum) track size, and
// the anchors of the controls that follow its edges.
#include <windows.h>

#include <memory>
#include <vector>

#include "dialogs/win32/ControlAnchor.h"

class DialogLayout {
 public:
  // Limits in pixels of the outer window; 0 sets no limit.
  DialogLayout(int minimumWidth, int minimumHeight, int maximumWidth, int maximumHeight);

  // Anchors are applied in the order they were added.
  void AddAnchor(HWND control, AnchorEdges edges);

  // Sees every message of the dialog; handles WM_GETMINMAXINFO and WM_SIZE and
  // returns 1 for them, 0 for the rest. The dialog goes on handling either way.
  // On WM_DPICHANGED the system scales the dialog and its controls itself:
  // the limits scale with it, and the anchors stand still until it is done,
  // then take the controls' new rectangles.
  int Handle(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void LimitTracking(MINMAXINFO& limits) const;
  void FollowClientSize(int width, int height);
  void BeginDpiChange(int dpi);
  void EndDpiChange();

  int minimumWidth_;
  int minimumHeight_;
  int maximumWidth_;
  int maximumHeight_;
  int dpi_ = 0;  // of the dialog, once it has an anchor
  bool rescaling_ = false;
  std::vector<std::unique_ptr<ControlAnchor>> anchors_;
};
