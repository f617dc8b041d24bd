#pragma once
// From time and value to the graph's pixels, with a margin of 50 pixels at
// 96 DPI on every side: time X at column 50, X + Width at column width - 50;
// value Y at row height - 50, Y + Height at row 50.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "data/ViewRange.h"
#include "view/GraphScale.h"

struct GraphPoint {
  int32_t x = 0;
  int32_t y = 0;
};

inline bool operator==(const GraphPoint& a, const GraphPoint& b) { return a.x == b.x && a.y == b.y; }

class GraphMapping {
 public:
  // A zero time or value span counts as 1, so a set shorter than a second or a
  // flat series still lands on meaningful pixels instead of dividing by zero.
  GraphMapping(const ViewRange& range, int32_t width, int32_t height, GraphScale scale = GraphScale());

  int32_t Width() const { return width_; }
  const GraphScale& Scale() const { return scale_; }
  // Computed in floating point and truncated toward zero; saturates far outside.
  int32_t TimeToX(double seconds) const;
  int32_t ValueToY(double value) const;
  // The polyline of a series whose sample i lies at i / 10 s, as compact as
  // CompactPolyline makes it.
  std::vector<GraphPoint> SeriesPoints(const std::vector<double>& series) const;

 private:
  ViewRange range_;
  int32_t width_;
  int32_t height_;
  GraphScale scale_;
  int32_t margin_;
};

// The same lines with fewer points: a point equal to the one before it, or
// lying on the straight continuation from the two before it, is dropped. At
// the pixel scale thousands of samples repeat or continue each other, and the
// cost of stroking a wide polyline grows with its points.
std::vector<GraphPoint> CompactPolyline(const std::vector<GraphPoint>& points);

// Time of sample i: ten samples a second.
double SampleTime(size_t index);
