#include "data/ViewRange.h"

#include <algorithm>
#include <limits>

#include "data/DataSet.h"
#include "data/Truncate.h"

namespace {

constexpr int32_t kSamplesPerSecond = 10;

struct ValueBounds {
  int32_t min = std::numeric_limits<int32_t>::max();
  int32_t max = std::numeric_limits<int32_t>::min();

  void Include(const std::vector<double>& series) {
    for (const double value : series) {
      const int32_t whole = TruncateToInt32(value);
      min = std::min(min, whole);
      max = std::max(max, whole);
    }
  }
};

}  // namespace

ViewRange RangeOfDataSet(const DataSet& set) {
  if (set.IsEmpty()) return ViewRange{};
  ValueBounds bounds;
  bounds.Include(set.smoothedAltitude);
  bounds.Include(set.smoothedVelocityKmh);
  // The span of two int32 values can exceed int32; saturate it.
  const int64_t span = static_cast<int64_t>(bounds.max) - bounds.min;
  ViewRange range;
  range.Width = set.SampleCount() / kSamplesPerSecond;
  range.Y = bounds.min;
  range.Height = static_cast<int32_t>(std::min<int64_t>(span, std::numeric_limits<int32_t>::max()));
  return range;
}
