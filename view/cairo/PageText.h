#pragma once
// Text on a page, shaped by Pango and placed in points: Liberation Sans
// (Arial's metric twin, as the program's graph prints) first, and for any
// character it lacks a font fontconfig finds that has it; right-to-left
// scripts read right to left. Texts must be well-formed UTF-8. Native builds
// only (cairo, Pango).
#include <cairo.h>
#include <pango/pangocairo.h>

#include <ctime>
#include <memory>
#include <string>

#include "view/PixelColour.h"
#include "view/cairo/TextMeasure.h"

struct GObjectUnref {
  void operator()(void* object) const { g_object_unref(object); }
};
using PangoContextHandle = std::unique_ptr<PangoContext, GObjectUnref>;
using PangoLayoutHandle = std::unique_ptr<PangoLayout, GObjectUnref>;

// The context page text is shaped in: for drawing on `cairo` as it is now
// transformed, or for measuring alone (nullptr). Glyphs are placed unhinted
// in both, so a text takes the same room on a PDF, an SVG and a PNG, and
// where a layout measured it.
PangoContextHandle PageTextContext(cairo_t* cairo);

// `text` as one line in `style`. A text wider than `maxWidth` (when above 0)
// is cut at its end with an ellipsis.
PangoLayoutHandle PageTextLayout(PangoContext* context, const std::string& text, const TextStyle& style,
                                 double maxWidth = 0.0);

// Measures as ShowText draws.
class PageTextMeasure : public TextMeasure {
 public:
  PageTextMeasure() : context_(PageTextContext(nullptr)) {}
  TextSize Measure(const std::string& text, const TextStyle& style) const override;

 private:
  PangoContextHandle context_;
};

void SetColour(cairo_t* cairo, Rgb colour);

enum class TextAlign { Left, Centre, Right };

// `text` in `style` with its baseline at `baseline`, starting, centred or
// ending at `x`; cut to `maxWidth` when that is above 0.
void ShowText(cairo_t* cairo, const TextStyle& style, double x, double baseline, const std::string& text,
              TextAlign align = TextAlign::Left, double maxWidth = 0.0);

// `text` with the top-left corner of its logical box at (left, top), as a
// layout placed it.
void ShowTextFrom(cairo_t* cairo, const TextStyle& style, double left, double top, const std::string& text);

// `text` reading upward, its baseline at x, centred on y: a value axis' title.
void ShowTextUpward(cairo_t* cairo, const TextStyle& style, double x, double y, const std::string& text);

// A page's first line: its title at `left`, and when it was made ending at
// `right`, on one baseline.
void ShowPageTitle(cairo_t* cairo, double left, double right, double baseline, const std::string& title,
                   std::time_t made);
