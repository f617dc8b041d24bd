#pragma once
// The size of a line of text on a page, for laying a page out before it is
// drawn: each painter measures with the text engine it draws with (Pango on
// Linux). Portable.
#include <string>

#include "view/PixelColour.h"

struct TextStyle {
  double size = 10.0;  // points
  bool bold = false;
  Rgb colour;
};

// A line's logical box, points: its advance, its line height, and its
// baseline below the box's top.
struct TextSize {
  double width = 0.0;
  double height = 0.0;
  double baseline = 0.0;
};

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  virtual TextSize Measure(const std::string& text, const TextStyle& style) const = 0;
};
