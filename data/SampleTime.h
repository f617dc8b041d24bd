#pragma once
// The time base of every set: ten samples a second, sample i at i * 0.1 s,
// computed in double precision so text exports read 0.3 and 396.7.
#include <cstddef>

constexpr double kSecondsPerSample = 0.1;

inline double TimeOfSample(size_t index) { return static_cast<double>(index) * kSecondsPerSample; }
