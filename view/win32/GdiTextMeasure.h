#pragma once
// Page text measured as view/cairo measures it: Arial (Liberation Sans, its
// metric twin, under Wine) by its glyphs' design advances, without kerning,
// read from GDI at an em of 2048 pixels, the fonts' own units, so nothing is
// rounded. Windows builds only.
#include <windows.h>

#include <string>

#include "view/page/TextMeasure.h"

class GdiTextMeasure : public TextMeasure {
 public:
  GdiTextMeasure();
  ~GdiTextMeasure() override;
  GdiTextMeasure(const GdiTextMeasure&) = delete;
  GdiTextMeasure& operator=(const GdiTextMeasure&) = delete;

  TextSize Measure(const std::string& text, const TextStyle& style) const override;

 private:
  HDC dc_;
  HFONT regular_;
  HFONT bold_;
};

// UTF-8 as Windows' wide text; a byte that is not UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(const std::string& text);
