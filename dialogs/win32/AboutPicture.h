#pragma once
// The About picture at a screen's DPI: above 96 DPI the template's 96-DPI
// picture gives way to the twice-as-large one, scaled to the DPI's size
// with halftone. The bitmap lives as long as the object.
#include <windows.h>

class AboutPicture {
 public:
  AboutPicture() = default;
  ~AboutPicture();
  AboutPicture(const AboutPicture&) = delete;
  AboutPicture& operator=(const AboutPicture&) = delete;

  // Shows the picture for `dpi` in the bitmap static `control`.
  void Show(HWND control, int dpi);

 private:
  HBITMAP bitmap_ = nullptr;
};
