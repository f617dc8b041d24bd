#pragma once
// An owner-drawn static that replaces a dialog's group box: a rounded frame
// with its caption in colour, drawn around (never over) the controls it holds.
#include <windows.h>

#include <functional>
#include <string>

class GroupLabel {
 public:
  // `window` is the owner-drawn static; its caption is read back from it.
  explicit GroupLabel(HWND window);

  HWND Window() const { return window_; }
  const std::wstring& Caption() const { return caption_; }

  // Draws the frame for a WM_DRAWITEM of this label, in `dialog`'s font, on a
  // background of `face`, leaving out every control that lies over it except
  // the other labels (`isLabel`).
  void Draw(const DRAWITEMSTRUCT& item, HWND dialog, COLORREF face, const std::function<bool(HWND)>& isLabel) const;

 private:
  HWND window_;
  std::wstring caption_;
};
