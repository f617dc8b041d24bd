#include "data/Truncate.h"

#include <cmath>
#include <limits>

int32_t TruncateToInt32(double value) {
  if (std::isnan(value)) return 0;
  constexpr double kLowest = std::numeric_limits<int32_t>::min();
  constexpr double kHighest = std::numeric_limits<int32_t>::max();
  if (value <= kLowest) return std::numeric_limits<int32_t>::min();
  if (value >= kHighest) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}
