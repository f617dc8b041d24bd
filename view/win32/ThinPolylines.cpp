#include "view/win32/ThinPolylines.h"

#include <algorithm>

namespace {

// GDI takes coordinates within 27 bits; the mapping saturates far beyond.
constexpr int64_t kGdiCoordinateLimit = int64_t{1} << 26;

POINT Moved(const GraphPoint& point, int32_t dx, int32_t dy) {
  const auto clamped = [](int64_t coordinate) {
    return static_cast<LONG>(std::clamp(coordinate, -kGdiCoordinateLimit, kGdiCoordinateLimit));
  };
  return {clamped(int64_t{point.x} + dx), clamped(int64_t{point.y} + dy)};
}

// A 1-pixel pen selected into a device context for the life of the object.
class SelectedPen {
 public:
  SelectedPen(HDC dc, COLORREF colour)
      : dc_(dc), pen_(CreatePen(PS_SOLID, 1, colour)), previous_(SelectObject(dc, pen_)) {}
  ~SelectedPen() {
    SelectObject(dc_, previous_);
    DeleteObject(pen_);
  }
  SelectedPen(const SelectedPen&) = delete;
  SelectedPen& operator=(const SelectedPen&) = delete;

 private:
  HDC dc_;
  HPEN pen_;
  HGDIOBJ previous_;
};

void DrawMovedVertically(HDC dc, const std::vector<GraphPoint>& points, int32_t dy) {
  std::vector<POINT> moved;
  moved.reserve(points.size());
  for (const GraphPoint& point : points) moved.push_back(Moved(point, 0, dy));
  Polyline(dc, moved.data(), static_cast<int>(moved.size()));
}

// The side on which the pen's band reaches past a segment's column: the right
// where the segment rises to the right, the left elsewhere.
int32_t SideOf(const GraphPoint& from, const GraphPoint& to) {
  const int64_t dx = int64_t{to.x} - from.x;
  const int64_t dy = int64_t{to.y} - from.y;
  return dx * dy < 0 ? 1 : -1;
}

// Each run of segments with the same side, moved to that side, in one call.
void DrawMovedSideways(HDC dc, const std::vector<GraphPoint>& points) {
  std::vector<POINT> moved;
  std::vector<DWORD> runLengths;
  moved.reserve(points.size() * 2);
  int32_t runSide = 0;
  for (size_t i = 1; i < points.size(); ++i) {
    const int32_t side = SideOf(points[i - 1], points[i]);
    if (side != runSide) {
      moved.push_back(Moved(points[i - 1], side, 0));
      runLengths.push_back(1);
      runSide = side;
    }
    moved.push_back(Moved(points[i], side, 0));
    ++runLengths.back();
  }
  PolyPolyline(dc, moved.data(), runLengths.data(), static_cast<DWORD>(runLengths.size()));
}

}  // namespace

void DrawThinPolylines(HDC dc, const std::vector<GraphPoint>& points, COLORREF colour) {
  if (points.size() < 2) return;
  const SelectedPen pen(dc, colour);
  DrawMovedVertically(dc, points, 0);
  DrawMovedVertically(dc, points, -1);
  DrawMovedSideways(dc, points);
}
