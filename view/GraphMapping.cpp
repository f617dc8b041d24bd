#include "view/GraphMapping.h"

#include "data/Truncate.h"

namespace {

constexpr int32_t kMargin = 50;

int32_t NonZeroSpan(int32_t span) { return span == 0 ? 1 : span; }

// b lies on the line from a through c, between them: the path a-b-c is the line a-c.
bool ContinuesStraight(const GraphPoint& a, const GraphPoint& b, const GraphPoint& c) {
  const int64_t dx1 = int64_t{b.x} - a.x, dy1 = int64_t{b.y} - a.y;
  const int64_t dx2 = int64_t{c.x} - b.x, dy2 = int64_t{c.y} - b.y;
  return dx1 * dy2 == dy1 * dx2 && dx1 * dx2 + dy1 * dy2 > 0;
}

}  // namespace

GraphMapping::GraphMapping(const ViewRange& range, int32_t width, int32_t height, GraphScale scale)
    : range_(range), width_(width), height_(height), scale_(scale), margin_(scale.Pixels(kMargin)) {
  range_.Width = NonZeroSpan(range_.Width);
  range_.Height = NonZeroSpan(range_.Height);
}

int32_t GraphMapping::TimeToX(double seconds) const {
  return TruncateToInt32((seconds - range_.X) * (width_ - 2.0 * margin_) / range_.Width + margin_);
}

int32_t GraphMapping::ValueToY(double value) const {
  return TruncateToInt32(height_ - (value - range_.Y) * (height_ - 2.0 * margin_) / range_.Height - margin_);
}

std::vector<GraphPoint> GraphMapping::SeriesPoints(const std::vector<double>& series) const {
  std::vector<GraphPoint> points;
  points.reserve(series.size());
  for (size_t i = 0; i < series.size(); ++i) points.push_back({TimeToX(SampleTime(i)), ValueToY(series[i])});
  return CompactPolyline(points);
}

std::vector<GraphPoint> CompactPolyline(const std::vector<GraphPoint>& points) {
  std::vector<GraphPoint> compact;
  compact.reserve(points.size());
  for (const GraphPoint& point : points) {
    if (!compact.empty() && compact.back() == point) continue;
    const size_t n = compact.size();
    if (n >= 2 && ContinuesStraight(compact[n - 2], compact[n - 1], point)) {
      compact.back() = point;
    } else {
      compact.push_back(point);
    }
  }
  return compact;
}

double SampleTime(size_t index) { return static_cast<double>(index) / 10.0; }
