#pragma once
// Flight Report's picture of its page in an owner-drawn control: the page
// scaled to fit the control, keeping its shape, painted with GDI+ off screen
// once for each size and copied to the screen whole, so that resizing the
// dialog does not flicker.
#include <windows.h>

#include <memory>

#include "dialogs/win32/GdiHandles.h"
#include "view/page/ReportPage.h"

class ReportPreview {
 public:
  // We keep a reference to `report`: the dialog owns it.
  ReportPreview(const ReportContent& report, PageSize page) : report_(report), page_(page) {}

  // Paints the control of `item` (its WM_DRAWITEM).
  void Draw(const DRAWITEMSTRUCT& item);

 private:
  bool Render(HDC reference, SIZE size);

  const ReportContent& report_;
  PageSize page_;
  std::unique_ptr<MemoryBitmap> picture_;  // of the size last drawn
  SIZE drawnSize_{};
};
