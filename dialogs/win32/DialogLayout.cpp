#include "dialogs/win32/DialogLayout.h"

DialogLayout::DialogLayout(int minimumWidth, int minimumHeight, int maximumWidth, int maximumHeight)
    : minimumWidth_(minimumWidth),
      minimumHeight_(minimumHeight),
      maximumWidth_(maximumWidth),
      maximumHeight_(maximumHeight) {}

void DialogLayout::AddAnchor(HWND control, AnchorEdges edges) {
  anchors_.push_back(std::make_unique<ControlAnchor>(control, edges));
}

int DialogLayout::Handle(UINT message, WPARAM, LPARAM lParam) {
  switch (message) {
    case WM_GETMINMAXINFO:
      LimitTracking(*reinterpret_cast<MINMAXINFO*>(lParam));
      return 1;
    case WM_SIZE:
      FollowClientSize(LOWORD(lParam), HIWORD(lParam));
      return 1;
    default:
      return 0;
  }
}

void DialogLayout::LimitTracking(MINMAXINFO& limits) const {
  if (minimumWidth_ != 0) limits.ptMinTrackSize.x = minimumWidth_;
  if (minimumHeight_ != 0) limits.ptMinTrackSize.y = minimumHeight_;
  if (maximumWidth_ != 0) limits.ptMaxTrackSize.x = maximumWidth_;
  if (maximumHeight_ != 0) limits.ptMaxTrackSize.y = maximumHeight_;
}

void DialogLayout::FollowClientSize(int width, int height) {
  HDWP positions = BeginDeferWindowPos(static_cast<int>(anchors_.size()));
  for (const std::unique_ptr<ControlAnchor>& anchor : anchors_) positions = anchor->Apply(positions, width, height);
  if (positions != nullptr) EndDeferWindowPos(positions);
}
