#include "dialogs/win32/DialogLayout.h"

#include "view/win32/WindowDpi.h"

namespace {

// Posted to the dialog on a DPI change, so that it arrives once the system has
// scaled the dialog.
UINT DpiChangeEndedMessage() {
  static const UINT message = RegisterWindowMessageW(L"ZelDialogLayoutDpiChanged");
  return message;
}

int Rescaled(int pixels, int from, int to) { return from > 0 ? MulDiv(pixels, to, from) : pixels; }

}  // namespace

DialogLayout::DialogLayout(int minimumWidth, int minimumHeight, int maximumWidth, int maximumHeight)
    : minimumWidth_(minimumWidth),
      minimumHeight_(minimumHeight),
      maximumWidth_(maximumWidth),
      maximumHeight_(maximumHeight) {}

void DialogLayout::AddAnchor(HWND control, AnchorEdges edges) {
  anchors_.push_back(std::make_unique<ControlAnchor>(control, edges));
  if (dpi_ == 0) dpi_ = WindowDpi(GetParent(control));
}

int DialogLayout::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == DpiChangeEndedMessage()) {
    EndDpiChange();
    return 0;
  }
  switch (message) {
    case WM_DPICHANGED:
      BeginDpiChange(LOWORD(wParam));
      return 0;
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

void DialogLayout::BeginDpiChange(int dpi) {
  minimumWidth_ = Rescaled(minimumWidth_, dpi_, dpi);
  minimumHeight_ = Rescaled(minimumHeight_, dpi_, dpi);
  maximumWidth_ = Rescaled(maximumWidth_, dpi_, dpi);
  maximumHeight_ = Rescaled(maximumHeight_, dpi_, dpi);
  dpi_ = dpi;
  if (anchors_.empty()) return;
  rescaling_ = true;
  PostMessageW(anchors_.front()->Parent(), DpiChangeEndedMessage(), 0, 0);
}

void DialogLayout::EndDpiChange() {
  rescaling_ = false;
  for (const std::unique_ptr<ControlAnchor>& anchor : anchors_) anchor->Retake();
}

void DialogLayout::FollowClientSize(int width, int height) {
  if (rescaling_) return;
  HDWP positions = BeginDeferWindowPos(static_cast<int>(anchors_.size()));
  for (const std::unique_ptr<ControlAnchor>& anchor : anchors_) positions = anchor->Apply(positions, width, height);
  if (positions != nullptr) EndDeferWindowPos(positions);
}
