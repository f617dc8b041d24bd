#include "data/FastSet.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data/PacketFixtures.h"
#include "data/SensorConverter.h"

namespace {

TEST(FastSet, RangeWidthStaysAheadOfTheTrace) {
  const struct {
    int samples;
    int32_t width;
  } cases[] = {{1, 5}, {49, 5}, {50, 10}, {100, 15}};
  for (const auto& c : cases) {
    FastSet fastSet;
    for (int i = 0; i < c.samples; ++i) fastSet.AddSample(SampleWord(836), 0);
    EXPECT_EQ(c.width, fastSet.Snapshot().range.Width) << c.samples << " samples";
  }
}

TEST(FastSet, TracksHeightAboveTheFirstSampleSinceReset) {
  FastSet fastSet;
  fastSet.AddSample(SampleWord(900), 0);
  fastSet.Reset();
  for (const uint16_t word : {SampleWord(836), SampleWord(826), kNoSample, SampleWord(820), SampleWord(840)})
    fastSet.AddSample(word, 0);
  const FastTrace trace = fastSet.Snapshot();
  const SensorConverter converter;
  ASSERT_EQ(4u, trace.samples.size());  // the no-sample word is skipped
  EXPECT_DOUBLE_EQ(converter.Altitude(836), trace.groundAltitude);
  EXPECT_EQ(0.0, trace.samples[0]);
  EXPECT_LT(trace.samples[3], 0.0);
  EXPECT_FLOAT_EQ(static_cast<float>(converter.Altitude(820) - converter.Altitude(836)), trace.peakAltitude);
  EXPECT_FLOAT_EQ(0.2f, trace.peakTime);
  EXPECT_EQ(static_cast<int32_t>(trace.peakAltitude), trace.range.Height);

  fastSet.Reset();
  fastSet.AddSample(SampleWord(833), 3);
  EXPECT_DOUBLE_EQ(converter.Altitude(836), fastSet.Snapshot().groundAltitude);
}

TEST(FastSet, AReadingBelowTheSensorsZeroStaysFinite) {
  FastSet fastSet;
  for (const uint16_t word : {SampleWord(836), SampleWord(0), SampleWord(836)}) fastSet.AddSample(word, -100);
  const FastTrace trace = fastSet.Snapshot();
  for (const double sample : trace.samples) EXPECT_TRUE(std::isfinite(sample));
  EXPECT_TRUE(std::isfinite(trace.peakAltitude));
  EXPECT_FLOAT_EQ(0.1f, trace.peakTime);
}

}  // namespace
