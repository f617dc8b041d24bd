#pragma once
// Where the columns of a table of text start on a page. Portable.
#include <string>
#include <vector>

#include "view/page/TextMeasure.h"

// The left edge of each column of `rows` (all of one length): the first at
// `left`, each next one `gap` past the widest cell before it in `style`. A
// column with no text in any row takes no room.
std::vector<double> ColumnLefts(const std::vector<std::vector<std::string>>& rows, const TextStyle& style,
                                const TextMeasure& measure, double left, double gap);
