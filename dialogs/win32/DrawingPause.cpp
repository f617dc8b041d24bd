#include "dialogs/win32/DrawingPause.h"

namespace {

SCROLLINFO ReadScrollBar(HWND window, int bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!GetScrollInfo(window, bar, &info)) info.nMin = info.nMax = info.nPos = 0;  // no such bar
  return info;
}

bool SameScrollBar(const SCROLLINFO& a, const SCROLLINFO& b) {
  return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

}  // namespace

DrawingPause::DrawingPause(HWND window)
    : window_(window),
      wasVisible_((GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0),
      before_(ReadScrollBars()) {
  if (wasVisible_) SetWindowLongW(window_, GWL_STYLE, GetWindowLongW(window_, GWL_STYLE) & ~WS_VISIBLE);
}

// The frame costs more to paint than the few lines in view.
DrawingPause::~DrawingPause() {
  if (!wasVisible_) return;
  SetWindowLongW(window_, GWL_STYLE, GetWindowLongW(window_, GWL_STYLE) | WS_VISIBLE);
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | (ScrollBarsMoved() ? RDW_FRAME : 0));
}

DrawingPause::ScrollBars DrawingPause::ReadScrollBars() const {
  return {ReadScrollBar(window_, SB_VERT), ReadScrollBar(window_, SB_HORZ)};
}

bool DrawingPause::ScrollBarsMoved() const {
  const ScrollBars after = ReadScrollBars();
  return !SameScrollBar(before_.vertical, after.vertical) || !SameScrollBar(before_.horizontal, after.horizontal);
}
