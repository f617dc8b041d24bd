#pragma once
// Where a label's text lies, from the metrics of Arial (and of Liberation
// Sans, its metric twin), without a drawing API: the box GDI+ measures for a
// string printed from its top-left corner, a sixth of an em of room on each
// side of the glyphs' advance and one line of the font's spacing high.
#include <string>

#include "view/GraphMapping.h"
#include "view/PixelBox.h"

// Labels are ASCII; any other character counts as wide as an M.
PixelBox LabelBox(GraphPoint origin, const std::wstring& text, float fontPixels);
