#pragma once
// The live altitude trace of a running download. The download thread adds
// samples while the main thread draws, so every access takes the set's own
// lock and the drawing works on a copy.
#include <cstdint>
#include <mutex>
#include <vector>

#include "data/ViewRange.h"

struct FastTrace {
  std::vector<double> samples;  // m above the first sample since the last Reset
  ViewRange range{0, 0, 1, 1};  // Width in s, Height in m
  float peakTime = 0.0f;        // s
  float peakAltitude = 0.0f;    // m, highest of samples
  double groundAltitude = 0.0;  // m above sea level of the first sample; the reference
};

class FastSet {
 public:
  // Empties the samples and zeroes the peak; range and groundAltitude stay
  // until the next sample.
  void Reset();
  // Adds the altitude of a sample word, converted with `calibrationOffset`.
  // kNoSample words are ignored. The first sample after a Reset becomes the
  // ground reference. The range widens in steps of 5 s, always ahead of the
  // trace, and its height follows the peak.
  void AddSample(uint16_t word, int32_t calibrationOffset);
  // A consistent copy of the trace, for drawing.
  FastTrace Snapshot() const;

 private:
  mutable std::mutex mutex_;
  FastTrace trace_;
};
