#include "view/GraphMapping.h"

#include "data/Truncate.h"

namespace {

constexpr int32_t kMargin = 50;

int32_t NonZeroSpan(int32_t span) { return span == 0 ? 1 : span; }

}  // namespace

GraphMapping::GraphMapping(const ViewRange& range, int32_t width, int32_t height)
    : range_(range), width_(width), height_(height) {
  range_.Width = NonZeroSpan(range_.Width);
  range_.Height = NonZeroSpan(range_.Height);
}

int32_t GraphMapping::TimeToX(double seconds) const {
  return TruncateToInt32((seconds - range_.X) * (width_ - 2.0 * kMargin) / range_.Width + kMargin);
}

int32_t GraphMapping::ValueToY(double value) const {
  return TruncateToInt32(height_ - (value - range_.Y) * (height_ - 2.0 * kMargin) / range_.Height - kMargin);
}

std::vector<GraphPoint> GraphMapping::SeriesPoints(const std::vector<double>& series) const {
  std::vector<GraphPoint> points;
  points.reserve(series.size());
  for (size_t i = 0; i < series.size(); ++i) points.push_back({TimeToX(SampleTime(i)), ValueToY(series[i])});
  return points;
}

double SampleTime(size_t index) { return static_cast<double>(index) / 10.0; }
