#include "view/cairo/PageText.h"

#include <cmath>

#include "view/cairo/PageOutput.h"

namespace {

constexpr char kFontFamily[] = "Liberation Sans";
constexpr char kEllipsis[] = "...";
constexpr TextStyle kTitleText{18.0, true, {0, 0, 0}};
constexpr TextStyle kMadeAtText{8.5, false, {90, 90, 90}};

bool ContinuesCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

}  // namespace

void SetColour(cairo_t* cairo, Rgb colour) {
  cairo_set_source_rgb(cairo, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

void UseTextStyle(cairo_t* cairo, const TextStyle& style) {
  cairo_select_font_face(cairo, kFontFamily, CAIRO_FONT_SLANT_NORMAL,
                         style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cairo, style.size);
  SetColour(cairo, style.colour);
}

double TextWidth(cairo_t* cairo, const std::string& text) {
  cairo_text_extents_t extents;
  cairo_text_extents(cairo, text.c_str(), &extents);
  return extents.x_advance;
}

void ShowText(cairo_t* cairo, double x, double baseline, const std::string& text, TextAlign align) {
  const double width = align == TextAlign::Left ? 0.0 : TextWidth(cairo, text);
  cairo_move_to(cairo, x - (align == TextAlign::Centre ? width / 2.0 : width), baseline);
  cairo_show_text(cairo, text.c_str());
}

void ShowTextUpward(cairo_t* cairo, double x, double y, const std::string& text) {
  cairo_save(cairo);
  cairo_translate(cairo, x, y);
  cairo_rotate(cairo, -M_PI / 2.0);
  ShowText(cairo, 0.0, 0.0, text, TextAlign::Centre);
  cairo_restore(cairo);
}

std::string FittedText(cairo_t* cairo, const std::string& text, double width) {
  if (TextWidth(cairo, text) <= width) return text;
  std::string cut = text;
  while (!cut.empty() && TextWidth(cairo, cut + kEllipsis) > width) {
    char removed = 0;
    do {  // a character's continuation bytes, then its first byte
      removed = cut.back();
      cut.pop_back();
    } while (!cut.empty() && ContinuesCharacter(removed));
  }
  return cut + kEllipsis;
}

void ShowPageTitle(cairo_t* cairo, double left, double right, double baseline, const std::string& title,
                   std::time_t made) {
  UseTextStyle(cairo, kTitleText);
  ShowText(cairo, left, baseline, title);
  UseTextStyle(cairo, kMadeAtText);
  ShowText(cairo, right, baseline, "made " + MadeAtText(made), TextAlign::Right);
}
