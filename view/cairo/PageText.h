#pragma once
// Text on a page, shaped by Pango and placed in points: Liberation Sans
// (Arial's metric twin, as the program's graph prints) first, and for any
// character it lacks a font fontconfig finds that has it; right-to-left
// scripts read right to left. Glyphs stand at their fonts' own advances,
// without kerning, as GDI measures them on Windows, so both painters lay a
// page out alike. Texts must be well-formed UTF-8. Native builds only
// (cairo, Pango).
#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <string>

#include "view/PixelColour.h"
#include "view/page/TextMeasure.h"

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

// Measures as view/cairo/CairoCanvas draws.
class PageTextMeasure : public TextMeasure {
 public:
  PageTextMeasure() : context_(PageTextContext(nullptr)) {}
  TextSize Measure(const std::string& text, const TextStyle& style) const override;

 private:
  PangoContextHandle context_;
};

void SetColour(cairo_t* cairo, Rgb colour);

// Draws `layout` with its logical box's left edge at `left` and its baseline at `baseline`.
void ShowLayout(cairo_t* cairo, PangoLayout* layout, Rgb colour, double left, double baseline);
