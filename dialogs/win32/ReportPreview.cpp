#include "dialogs/win32/ReportPreview.h"

#include <objidl.h>
#include <gdiplus.h>

#include "dialogs/win32/DialogFace.h"
#include "view/PagePlacement.h"
#include "view/win32/GdiplusCanvas.h"

namespace {

constexpr COLORREF kPageEdge = RGB(128, 128, 128);

Gdiplus::REAL Real(double value) { return static_cast<Gdiplus::REAL>(value); }

void FillWith(HDC dc, const RECT& area, COLORREF colour) {
  const SolidBrush brush(colour);
  FillRect(dc, &area, brush.Get());
}

}  // namespace

void ReportPreview::Draw(const DRAWITEMSTRUCT& item) {
  const SIZE size{item.rcItem.right - item.rcItem.left, item.rcItem.bottom - item.rcItem.top};
  if (size.cx <= 0 || size.cy <= 0) return;
  const bool current = picture_ && size.cx == drawnSize_.cx && size.cy == drawnSize_.cy;
  if (!current && !Render(item.hDC, size)) {
    FillWith(item.hDC, item.rcItem, kDialogFace);
    return;
  }
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, size.cx, size.cy, picture_->Dc(), 0, 0, SRCCOPY);
}

// The page inside a one-pixel edge, on the dialog's face where its shape leaves room.
bool ReportPreview::Render(HDC reference, SIZE size) {
  picture_ = std::make_unique<MemoryBitmap>(reference, size.cx, size.cy);
  drawnSize_ = size;
  if (!picture_->Ready()) {
    picture_.reset();
    return false;
  }
  const HDC dc = picture_->Dc();
  FillWith(dc, {0, 0, size.cx, size.cy}, kDialogFace);
  const PageTransform place = FitPageInBox(page_, {1.0, 1.0, size.cx - 2.0, size.cy - 2.0});
  const RECT edge{static_cast<LONG>(place.offsetX) - 1, static_cast<LONG>(place.offsetY) - 1,
                  static_cast<LONG>(place.offsetX + page_.width * place.scaleX) + 1,
                  static_cast<LONG>(place.offsetY + page_.height * place.scaleY) + 1};
  FillWith(dc, edge, kPageEdge);
  const Gdiplus::Matrix pointsToPixels(Real(place.scaleX), 0, 0, Real(place.scaleY), Real(place.offsetX),
                                       Real(place.offsetY));
  PaintPageOnDc(dc, pointsToPixels, page_, [this](PageCanvas& canvas) { PaintReport(canvas, report_, page_); });
  return true;
}
