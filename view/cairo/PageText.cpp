#include "view/cairo/PageText.h"

namespace {

constexpr char kFontFamily[] = "Liberation Sans";

double Points(int pangoUnits) { return static_cast<double>(pangoUnits) / PANGO_SCALE; }

struct FontDescriptionFree {
  void operator()(PangoFontDescription* font) const { pango_font_description_free(font); }
};

void SetFont(PangoLayout* layout, const TextStyle& style) {
  const std::unique_ptr<PangoFontDescription, FontDescriptionFree> font(pango_font_description_new());
  pango_font_description_set_family(font.get(), kFontFamily);
  pango_font_description_set_weight(font.get(), style.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_absolute_size(font.get(), style.size * PANGO_SCALE);
  pango_layout_set_font_description(layout, font.get());
}

// Hinted advances are rounded to the target's pixels, which differ from a
// PNG to a PDF.
void PlaceGlyphsUnhinted(PangoContext* context) {
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  pango_cairo_context_set_font_options(context, options);
  cairo_font_options_destroy(options);
  pango_context_set_round_glyph_positions(context, FALSE);
}

PangoRectangle LogicalBox(PangoLayout* layout) {
  PangoRectangle logical;
  pango_layout_get_extents(layout, nullptr, &logical);
  return logical;
}

struct AttrListUnref {
  void operator()(PangoAttrList* list) const { pango_attr_list_unref(list); }
};

// GDI measures a line by its glyphs' advances alone.
void LeaveUnkerned(PangoLayout* layout) {
  const std::unique_ptr<PangoAttrList, AttrListUnref> attributes(pango_attr_list_new());
  pango_attr_list_insert(attributes.get(), pango_attr_font_features_new("kern 0, liga 0, clig 0"));
  pango_layout_set_attributes(layout, attributes.get());
}

}  // namespace

PangoContextHandle PageTextContext(cairo_t* cairo) {
  PangoContextHandle context(cairo != nullptr ? pango_cairo_create_context(cairo)
                                              : pango_font_map_create_context(pango_cairo_font_map_get_default()));
  PlaceGlyphsUnhinted(context.get());
  return context;
}

PangoLayoutHandle PageTextLayout(PangoContext* context, const std::string& text, const TextStyle& style,
                                 double maxWidth) {
  PangoLayoutHandle layout(pango_layout_new(context));
  SetFont(layout.get(), style);
  pango_layout_set_single_paragraph_mode(layout.get(), TRUE);
  LeaveUnkerned(layout.get());
  pango_layout_set_text(layout.get(), text.c_str(), static_cast<int>(text.size()));
  // Only a cut text gets a width: one that fits keeps its natural box, where
  // a width would align a right-to-left line to the width's far end.
  if (maxWidth > 0.0 && Points(LogicalBox(layout.get()).width) > maxWidth) {
    pango_layout_set_width(layout.get(), static_cast<int>(maxWidth * PANGO_SCALE));
    pango_layout_set_ellipsize(layout.get(), PANGO_ELLIPSIZE_END);
  }
  return layout;
}

TextSize PageTextMeasure::Measure(const std::string& text, const TextStyle& style) const {
  const PangoLayoutHandle layout = PageTextLayout(context_.get(), text, style);
  const PangoRectangle logical = LogicalBox(layout.get());
  return {Points(logical.width), Points(logical.height), Points(pango_layout_get_baseline(layout.get()))};
}

void SetColour(cairo_t* cairo, Rgb colour) {
  cairo_set_source_rgb(cairo, colour.red / 255.0, colour.green / 255.0, colour.blue / 255.0);
}

void ShowLayout(cairo_t* cairo, PangoLayout* layout, Rgb colour, double left, double baseline) {
  cairo_move_to(cairo, left - Points(LogicalBox(layout).x), baseline - Points(pango_layout_get_baseline(layout)));
  SetColour(cairo, colour);
  pango_cairo_show_layout(cairo, layout);
}
