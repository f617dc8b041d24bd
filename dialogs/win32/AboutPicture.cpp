#include "dialogs/win32/AboutPicture.h"

#include "resources/ResourceIds.h"
#include "view/win32/WindowDpi.h"

namespace {

constexpr int kWidth = 386;  // at 96 DPI
constexpr int kHeight = 109;
constexpr int kBaseDpi = 96;

// A memory device context with `bitmap` selected for its life.
class SelectedBitmap {
 public:
  explicit SelectedBitmap(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) replaced_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (replaced_) SelectObject(dc_, replaced_);
    if (dc_) DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  HDC Get() const { return replaced_ ? dc_ : nullptr; }

 private:
  HDC dc_;
  HGDIOBJ replaced_ = nullptr;
};

HBITMAP ScaledPicture(int dpi) {
  const HBITMAP large = static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                        MAKEINTRESOURCEW(IDB_ABOUT_PICTURE_2X), IMAGE_BITMAP, 0, 0,
                                                        LR_CREATEDIBSECTION));
  if (!large) return nullptr;
  const int width = PixelsAtDpi(kWidth, dpi);
  const int height = PixelsAtDpi(kHeight, dpi);
  const HDC screen = GetDC(nullptr);
  HBITMAP scaled = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  {
    const SelectedBitmap from(large);
    const SelectedBitmap to(scaled);
    if (!from.Get() || !to.Get()) {
      DeleteObject(scaled);
      scaled = nullptr;
    } else {
      SetStretchBltMode(to.Get(), HALFTONE);
      SetBrushOrgEx(to.Get(), 0, 0, nullptr);
      StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, 2 * kWidth, 2 * kHeight, SRCCOPY);
    }
  }
  DeleteObject(large);
  return scaled;
}

}  // namespace

AboutPicture::~AboutPicture() {
  if (bitmap_) DeleteObject(bitmap_);
}

void AboutPicture::Show(HWND control, int dpi) {
  if (dpi <= kBaseDpi || bitmap_) return;
  bitmap_ = ScaledPicture(dpi);
  if (!bitmap_) return;
  // The static hands back the template's picture, which is now ours to delete.
  const auto previous = reinterpret_cast<HBITMAP>(
      SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_)));
  if (previous && previous != bitmap_) DeleteObject(previous);
}
