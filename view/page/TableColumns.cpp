#include "view/page/TableColumns.h"

#include <algorithm>

std::vector<double> ColumnLefts(const std::vector<std::vector<std::string>>& rows, const TextStyle& style,
                                const TextMeasure& measure, double left, double gap) {
  std::vector<double> lefts;
  for (size_t column = 0; !rows.empty() && column < rows.front().size(); ++column) {
    lefts.push_back(left);
    double widest = 0.0;
    for (const std::vector<std::string>& row : rows) {
      if (!row[column].empty()) widest = std::max(widest, measure.Measure(row[column], style).width);
    }
    if (widest > 0.0) left += widest + gap;
  }
  return lefts;
}
