#pragma once
// The time base of every set: ten samples a second, sample i at i * 0.1 s,
// computed in double precision so text exports read 0.3 and 396.7.
#include <cmath>
#include <cstddef>

constexpr double kSecondsPerSample = 0.1;

inline double TimeOfSample(size_t index) { return static_cast<double>(index) * kSecondsPerSample; }

// Beyond any set (a memory holds 3968 samples), and well inside size_t: a
// time from a wild fit converts to an index without overflow.
constexpr double kFarthestSample = 1e12;

// The first sample at or after `seconds`, and the last at or before it; 0 for
// a time at or before the first sample (or NaN).
inline size_t SampleAtOrAfter(double seconds) {
  if (!(seconds > 0.0)) return 0;
  return static_cast<size_t>(std::fmin(std::ceil(seconds / kSecondsPerSample - 1e-9), kFarthestSample));
}

inline size_t SampleAtOrBefore(double seconds) {
  if (!(seconds > 0.0)) return 0;
  return static_cast<size_t>(std::fmin(std::floor(seconds / kSecondsPerSample + 1e-9), kFarthestSample));
}
