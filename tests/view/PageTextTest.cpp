// The pages' text (native builds, Pango): a comment in any of the scripts a
// flyer may write is printed in a font that has its characters, Liberation
// Sans first, and right-to-left text reads right to left.
#include <gtest/gtest.h>

#include <string>

#include "view/cairo/PageText.h"

namespace {

constexpr TextStyle kStyle{11.0, false, {0, 0, 0}};

// Where the first and the last character of `text` stand on its line.
struct Ends {
  double first;
  double last;
};
Ends CharacterEnds(PangoLayout* layout, const std::string& text) {
  const char* start = text.c_str();
  const char* lastCharacter = g_utf8_find_prev_char(start, start + text.size());
  PangoRectangle first, last;
  pango_layout_index_to_pos(layout, 0, &first);
  pango_layout_index_to_pos(layout, static_cast<int>(lastCharacter - start), &last);
  return {first.x / static_cast<double>(PANGO_SCALE), last.x / static_cast<double>(PANGO_SCALE)};
}

std::string FirstRunFamily(PangoLayout* layout) {
  PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
  const auto* run = static_cast<PangoGlyphItem*>(line->runs->data);
  PangoFontDescription* font = pango_font_describe(run->item->analysis.font);
  const std::string family = pango_font_description_get_family(font);
  pango_font_description_free(font);
  return family;
}

TEST(PageText, EveryScriptHasItsGlyphsAndReadsItsWay) {
  const struct {
    const char* script;
    std::string text;
    bool rightToLeft;
  } cases[] = {
      {"Latin", "Club launch, field A", false},
      {"Hebrew", "\u05E9\u05D9\u05D2\u05D5\u05E8 \u05DE\u05D5\u05E2\u05D3\u05D5\u05DF", true},
      {"Arabic", "\u0625\u0637\u0644\u0627\u0642 \u0627\u0644\u0646\u0627\u062F\u064A", true},
      {"Chinese", "\u4FF1\u4E50\u90E8\u53D1\u5C04", false},
      {"Japanese", "\u30AF\u30E9\u30D6\u6253\u3061\u4E0A\u3052", false},
  };
  const PangoContextHandle context = PageTextContext(nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    const PangoLayoutHandle layout = PageTextLayout(context.get(), c.text, kStyle);
    EXPECT_EQ(0, pango_layout_get_unknown_glyphs_count(layout.get())) << "no boxes";
    const Ends ends = CharacterEnds(layout.get(), c.text);
    EXPECT_EQ(c.rightToLeft, ends.first > ends.last) << ends.first << " to " << ends.last;
  }
  const PangoLayoutHandle latin = PageTextLayout(context.get(), cases[0].text, kStyle);
  EXPECT_EQ("Liberation Sans", FirstRunFamily(latin.get())) << "the first family, where it has the characters";
}

TEST(PageText, MeasuresAsItCutsAndIsAlikeOnEveryTarget) {
  const PageTextMeasure measure;
  const std::string text = "Field B, windy, 3 flights before noon";
  const TextSize whole = measure.Measure(text, kStyle);
  EXPECT_GT(whole.width, 100.0);
  EXPECT_TRUE(whole.baseline > 0.0 && whole.baseline < whole.height);
  const PangoContextHandle context = PageTextContext(nullptr);
  const PangoLayoutHandle cut = PageTextLayout(context.get(), text, kStyle, whole.width / 2.0);
  PangoRectangle logical;
  pango_layout_get_extents(cut.get(), nullptr, &logical);
  EXPECT_LE(logical.width / static_cast<double>(PANGO_SCALE), whole.width / 2.0 + 0.01);
  EXPECT_TRUE(pango_layout_is_ellipsized(cut.get()));
}

}  // namespace
