#pragma once
// Text on a page in Liberation Sans (Arial's metric twin, as the program's
// graph prints), measured and placed in points. Texts must be well-formed
// UTF-8: cairo refuses anything else. Native builds only (cairo).
#include <cairo.h>

#include <algorithm>
#include <ctime>
#include <string>
#include <vector>

#include "view/PixelColour.h"

struct TextStyle {
  double size = 10.0;  // points
  bool bold = false;
  Rgb colour;
};

void SetColour(cairo_t* cairo, Rgb colour);
void UseTextStyle(cairo_t* cairo, const TextStyle& style);

// The advance of `text` in the style in use, points.
double TextWidth(cairo_t* cairo, const std::string& text);

enum class TextAlign { Left, Centre, Right };

// `text` with its baseline at `baseline`, starting, centred or ending at `x`.
void ShowText(cairo_t* cairo, double x, double baseline, const std::string& text, TextAlign align = TextAlign::Left);

// `text` reading upward, its baseline at x, centred on y: a value axis' title.
void ShowTextUpward(cairo_t* cairo, double x, double y, const std::string& text);

// `text`, or as much of it as fits `width` followed by "...", cut between
// characters.
std::string FittedText(cairo_t* cairo, const std::string& text, double width);

// A page's first line: its title at `left`, and when it was made ending at
// `right`, on one baseline.
void ShowPageTitle(cairo_t* cairo, double left, double right, double baseline, const std::string& title,
                   std::time_t made);

// The widest text of one column of a table's rows, in the style in use.
template <typename Row>
double WidestOf(cairo_t* cairo, const std::vector<Row>& rows, std::string Row::*column) {
  double widest = 0.0;
  for (const Row& row : rows) widest = std::max(widest, TextWidth(cairo, row.*column));
  return widest;
}
