#pragma once
// Owners of GDI objects and icons, so that a dialog's brushes and icons go
// with it on every path.
#include <windows.h>

class SolidBrush {
 public:
  explicit SolidBrush(COLORREF colour) : brush_(CreateSolidBrush(colour)) {}
  ~SolidBrush() {
    if (brush_) DeleteObject(brush_);
  }
  SolidBrush(const SolidBrush&) = delete;
  SolidBrush& operator=(const SolidBrush&) = delete;

  HBRUSH Get() const { return brush_; }
  // As a dialog procedure returns it for a colour message.
  INT_PTR AsResult() const { return reinterpret_cast<INT_PTR>(brush_); }

 private:
  HBRUSH brush_;
};

// An icon loaded from the program's resources at a given size.
class LoadedIcon {
 public:
  LoadedIcon(int resourceId, int size)
      : icon_(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0))) {}
  ~LoadedIcon() {
    if (icon_) DestroyIcon(icon_);
  }
  LoadedIcon(const LoadedIcon&) = delete;
  LoadedIcon& operator=(const LoadedIcon&) = delete;

  HICON Get() const { return icon_; }

 private:
  HICON icon_;
};

// A picture compatible with a device context, selected into a memory device
// context of its own: drawn off screen, then copied to the screen whole.
class MemoryBitmap {
 public:
  MemoryBitmap(HDC reference, int width, int height)
      : dc_(CreateCompatibleDC(reference)), bitmap_(CreateCompatibleBitmap(reference, width, height)) {
    if (dc_ && bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~MemoryBitmap() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool Ready() const { return previous_ != nullptr; }
  HDC Dc() const { return dc_; }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_ = nullptr;
};
