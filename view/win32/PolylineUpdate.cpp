#include "view/win32/PolylineUpdate.h"

#include <algorithm>

namespace {

using Points = std::vector<GraphPoint>;

PixelBox Around(const GraphPoint& a, const GraphPoint& b, int32_t reach) {
  return {std::min(a.x, b.x) - reach, std::min(a.y, b.y) - reach, std::max(a.x, b.x) + reach + 1,
          std::max(a.y, b.y) + reach + 1};
}

PixelBox Union(const PixelBox& a, const PixelBox& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

bool Overlap(const PixelBox& a, const PixelBox& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The pixels that points[from..] and the segments between them reach.
PixelBox Reached(const Points& points, size_t from, int32_t reach) {
  PixelBox box;
  for (size_t i = from; i < points.size(); ++i) box = Union(box, Around(points[i], points[i], reach));
  return box;
}

// The point before the first segment that reaches `area`: a stroke that starts
// there has its end, and every joint it leaves out, out of reach.
size_t FirstPointToStroke(const Points& points, const PixelBox& area, int32_t reach) {
  for (size_t i = 0; i + 1 < points.size(); ++i) {
    if (Overlap(Around(points[i], points[i + 1], reach), area)) return i > 0 ? i - 1 : 0;
  }
  return points.size();
}

}  // namespace

PolylineUpdate UpdateOfPolyline(const Points& drawn, const Points& now, int32_t reach) {
  const size_t shared =
      static_cast<size_t>(std::mismatch(drawn.begin(), drawn.end(), now.begin(), now.end()).first - drawn.begin());
  if (shared == drawn.size() && shared == now.size()) return {shared, {}, now.size()};
  // The last point both share changes from an end into a joint, or its joint changes.
  const size_t from = shared > 0 ? shared - 1 : 0;
  const PixelBox area = Union(Reached(drawn, from, reach), Reached(now, from, reach));
  return {shared, area, FirstPointToStroke(now, area, reach)};
}
