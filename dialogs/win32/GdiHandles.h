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
