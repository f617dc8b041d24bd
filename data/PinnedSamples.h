#pragma once
// Stretches where the pressure sensor sat at the end of its range: the ADC at
// its own limit (0 or 1023), or a flat top that the climb ran into too fast
// for an apogee (a sensor whose range ends below the flight's top reads its
// last count, without noise, until the rocket comes back). Nothing measured
// over such a stretch is the flight's.
#include <cstddef>
#include <optional>
#include <vector>

#include "data/DataSet.h"

struct SampleSpan {
  size_t first = 0;
  size_t last = 0;  // inclusive

  double FromS() const;
  double ToS() const;
  bool Overlaps(size_t from, size_t to) const { return first <= to && from <= last; }
};

// Every pinned stretch of `set`, in order.
std::vector<SampleSpan> FindPinnedSamples(const DataSet& set);

// The stretch that holds the set's highest altitude, when it is pinned.
std::optional<SampleSpan> PinnedTop(const DataSet& set, const std::vector<SampleSpan>& pinned);
