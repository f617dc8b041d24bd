#pragma once
// A graph's data range: time origin X and span Width in seconds, value origin
// Y and span Height in metres or km/h.
#include <cstdint>

class DataSet;

struct ViewRange {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

// The range that shows a whole set: every whole second of it, and every
// truncated value of its smoothed altitude and smoothed velocity in km/h on
// one shared scale. An empty set gives (0, 0, 0, 0).
ViewRange RangeOfDataSet(const DataSet& set);
