#pragma once
// Keeps a window from drawing while it changes, then has it repainted, its
// frame too when a scroll bar moved. Wine's WM_SETREDRAW stops the painting
// but not the scroll bars, which redraw at every change (several milliseconds
// each, and visibly): this clears the visible style instead, as WM_SETREDRAW
// does on Windows.
#include <windows.h>

class DrawingPause {
 public:
  explicit DrawingPause(HWND window);
  ~DrawingPause();
  DrawingPause(const DrawingPause&) = delete;
  DrawingPause& operator=(const DrawingPause&) = delete;

 private:
  struct ScrollBars {
    SCROLLINFO vertical;
    SCROLLINFO horizontal;
  };
  ScrollBars ReadScrollBars() const;
  bool ScrollBarsMoved() const;

  HWND window_;
  bool wasVisible_;
  ScrollBars before_;
};
