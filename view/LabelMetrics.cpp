#include "view/LabelMetrics.h"

#include <cmath>
#include <iterator>

namespace {

constexpr double kUnitsPerEm = 2048.0;
// Ascent, descent and line gap: GDI+'s line spacing.
constexpr double kLineSpacing = 1854.0 + 434.0 + 67.0;
constexpr wchar_t kFirst = L' ';
// Advance widths of the characters from the blank to the tilde, in font units.
constexpr int kAdvances[] = {
    569,  569,  727,  1139, 1139, 1821, 1366, 391,  682,  682,  797,  1196, 569,  682,  569,  569,
    1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 1139, 569,  569,  1196, 1196, 1196, 1139,
    2079, 1366, 1366, 1479, 1479, 1366, 1251, 1593, 1479, 569,  1024, 1366, 1139, 1706, 1479, 1593,
    1366, 1593, 1479, 1366, 1251, 1479, 1366, 1933, 1366, 1366, 1251, 569,  569,  569,  961,  1139,
    682,  1139, 1139, 1024, 1139, 1139, 569,  1139, 1139, 455,  455,  1024, 455,  1706, 1139, 1139,
    1139, 1139, 682,  1024, 569,  1139, 1024, 1479, 1024, 1024, 1024, 684,  532,  684,  1196};
constexpr int kWidestAdvance = 1706;  // M

int AdvanceOf(wchar_t c) {
  const auto index = static_cast<size_t>(c - kFirst);
  return c >= kFirst && index < std::size(kAdvances) ? kAdvances[index] : kWidestAdvance;
}

}  // namespace

PixelBox LabelBox(GraphPoint origin, const std::wstring& text, float fontPixels) {
  double advance = 0;
  for (const wchar_t c : text) advance += AdvanceOf(c);
  const double width = advance * fontPixels / kUnitsPerEm + fontPixels / 3.0;
  const double height = kLineSpacing * fontPixels / kUnitsPerEm;
  return {origin.x, origin.y, origin.x + static_cast<int32_t>(std::ceil(width)),
          origin.y + static_cast<int32_t>(std::ceil(height))};
}
