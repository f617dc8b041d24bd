// The download thread fills the live trace while the main thread draws it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "data/FastSet.h"
#include "data/PacketFixtures.h"

namespace {

constexpr int kSamples = 3968;

TEST(FastSetConcurrency, SnapshotsAreConsistentWhileSamplesArrive) {
  FastSet fastSet;
  std::atomic<bool> done{false};
  std::thread download([&] {
    for (int i = 0; i < kSamples; ++i) {
      if (i == kSamples / 2) fastSet.Reset();
      fastSet.AddSample(SampleWord(836 - (i % 300) / 2), 0);
    }
    done = true;
  });

  int snapshots = 0;
  while (!done || snapshots == 0) {
    const FastTrace trace = fastSet.Snapshot();
    ++snapshots;
    if (trace.samples.empty()) continue;
    const int32_t count = static_cast<int32_t>(trace.samples.size());
    ASSERT_EQ((count + 50) / 50 * 5, trace.range.Width);
    const double peak = *std::max_element(trace.samples.begin(), trace.samples.end());
    ASSERT_FLOAT_EQ(static_cast<float>(peak), trace.peakAltitude);
    ASSERT_EQ(0.0, trace.samples.front());
  }
  download.join();
  EXPECT_EQ(static_cast<size_t>(kSamples / 2), fastSet.Snapshot().samples.size());
}

}  // namespace
