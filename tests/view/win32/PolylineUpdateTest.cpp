// What is redrawn of a stroked polyline for a newer one: every pixel that may
// differ, and a stroke that starts out of reach of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "view/win32/PolylineUpdate.h"

namespace {

using Points = std::vector<GraphPoint>;

constexpr int32_t kReach = 4;

// A trace of the graph's kind, left to right: a climb, then a slow noisy fall.
Points Trace(size_t count) {
  Points points;
  for (size_t i = 0; i < count; ++i) {
    const int32_t x = 50 + static_cast<int32_t>(i) / 3;
    const int32_t y = i < 60 ? 400 - 5 * static_cast<int32_t>(i) : 100 + static_cast<int32_t>(i) / 4 + (i % 3 == 0);
    points.push_back({x, y});
  }
  return points;
}

Points Moved(Points points, size_t index, GraphPoint to) {
  points[index] = to;
  return points;
}

bool Inside(const PixelBox& box, const GraphPoint& point, int32_t margin) {
  return point.x - margin >= box.left && point.x + margin < box.right && point.y - margin >= box.top &&
         point.y + margin < box.bottom;
}

bool Reaches(const GraphPoint& a, const GraphPoint& b, const PixelBox& box) {
  return std::min(a.x, b.x) - kReach < box.right && box.left <= std::max(a.x, b.x) + kReach &&
         std::min(a.y, b.y) - kReach < box.bottom && box.top <= std::max(a.y, b.y) + kReach;
}

struct Case {
  const char* name;
  Points drawn;
  Points now;
  size_t firstChanged;  // of either polyline
};

TEST(PolylineUpdate, CoversEveryChangeAndStrokesFromOutOfReach) {
  const Points trace = Trace(400);
  const Points shorter(trace.begin(), trace.end() - 7);
  const Case cases[] = {
      {"points added", shorter, trace, shorter.size() - 1},
      {"one point added", Points(trace.begin(), trace.end() - 1), trace, trace.size() - 2},
      {"last point moved", trace, Moved(trace, trace.size() - 1, {190, 300}), trace.size() - 2},
      {"a point in the climb moved", trace, Moved(trace, 30, {61, 240}), 29},
      {"points taken away", trace, shorter, shorter.size() - 1},
      {"started again", trace, Moved(Trace(20), 0, {50, 390}), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PolylineUpdate update = UpdateOfPolyline(c.drawn, c.now, kReach);
    ASSERT_FALSE(update.area.Empty());
    // Every segment whose stroke changed, its ends and joints, lies inside.
    for (const Points* points : {&c.drawn, &c.now}) {
      for (size_t i = c.firstChanged; i < points->size(); ++i) {
        EXPECT_TRUE(Inside(update.area, (*points)[i], kReach)) << "point " << i;
      }
    }
    // The stroke's start and every segment before it stay out of reach.
    ASSERT_LE(update.firstPoint, c.firstChanged);
    for (size_t i = 0; i < update.firstPoint; ++i) {
      EXPECT_FALSE(Reaches(c.now[i], c.now[i + 1], update.area)) << "segment " << i;
    }
    if (update.firstPoint > 0) {
      const GraphPoint start = c.now[update.firstPoint];
      EXPECT_FALSE(Reaches(start, start, update.area)) << "the stroke's start";
    }
  }
}

TEST(PolylineUpdate, NewPointsRedrawOnlyTheEndOfALongTrace) {
  const Points trace = Trace(3968);
  const PolylineUpdate update = UpdateOfPolyline(Points(trace.begin(), trace.end() - 5), trace, kReach);
  EXPECT_GT(update.firstPoint, trace.size() - 40);
  EXPECT_LT(update.area.right - update.area.left, 20);
}

TEST(PolylineUpdate, NothingChanged) {
  const Points trace = Trace(50);
  EXPECT_TRUE(UpdateOfPolyline(trace, trace, kReach).area.Empty());
  EXPECT_EQ(trace.size(), UpdateOfPolyline(trace, trace, kReach).firstPoint);
  EXPECT_TRUE(UpdateOfPolyline({}, {}, kReach).area.Empty());
}

}  // namespace
