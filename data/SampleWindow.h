#pragma once
// A window of +-half samples around one index, shrunk at either end of the series.
struct SampleWindow {
  int lo;  // offset of the first sample, <= 0
  int hi;  // offset of the last sample, >= 0
  int Span() const { return hi - lo; }
};

// The window around sample i of a series of n samples (0 <= i < n).
constexpr SampleWindow WindowAround(int i, int n, int half) {
  SampleWindow window{-half, half};
  if (i - half < 0) window.lo = -i;
  if (i + half >= n) window.hi = n - i - 1;
  return window;
}
