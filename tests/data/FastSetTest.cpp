#include "data/FastSet.h"

#include <gtest/gtest.h>

#include "data/PacketFixtures.h"
#include "data/SensorConverter.h"

namespace {

// The count that reads about `metres` above ADC 836 with offset 0.
uint16_t WordAbove(double metres) {
  return SampleWord(SensorConverter().AdcForAltitude(SensorConverter().Altitude(836) + metres));
}

TEST(FastSet, RangeWidthStaysAheadOfTheTrace) {
  struct Case {
    int samples;
    int32_t width;
  };
  const Case cases[] = {{1, 5}, {49, 5}, {50, 10}, {99, 10}, {100, 15}, {3968, 400}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.samples);
    FastSet fastSet;
    for (int i = 0; i < c.samples; ++i) fastSet.AddSample(SampleWord(836), 0);
    const FastTrace trace = fastSet.Snapshot();
    EXPECT_EQ(static_cast<size_t>(c.samples), trace.samples.size());
    EXPECT_EQ(0, trace.range.X);
    EXPECT_EQ(0, trace.range.Y);
    EXPECT_EQ(c.width, trace.range.Width);
  }
}

TEST(FastSet, TracksHeightAboveTheFirstSampleAndItsPeak) {
  FastSet fastSet;
  const uint16_t words[] = {SampleWord(836), WordAbove(40), kNoSample, WordAbove(95), WordAbove(60), SampleWord(840)};
  for (const uint16_t word : words) fastSet.AddSample(word, 0);
  const FastTrace trace = fastSet.Snapshot();
  const SensorConverter converter;
  ASSERT_EQ(5u, trace.samples.size());  // the no-sample word is skipped
  EXPECT_DOUBLE_EQ(converter.Altitude(836), trace.groundAltitude);
  EXPECT_EQ(0.0, trace.samples[0]);
  EXPECT_LT(trace.samples[4], 0.0);
  EXPECT_FLOAT_EQ(static_cast<float>(trace.samples[2]), trace.peakAltitude);
  EXPECT_FLOAT_EQ(0.2f, trace.peakTime);
  EXPECT_EQ(static_cast<int32_t>(trace.samples[2]), trace.range.Height);
}

TEST(FastSet, OffsetAppliesToEverySample) {
  FastSet fastSet;
  fastSet.AddSample(SampleWord(833), 3);
  EXPECT_DOUBLE_EQ(SensorConverter().Altitude(836), fastSet.Snapshot().groundAltitude);
}

TEST(FastSet, ResetStartsANewTraceFromTheNextSample) {
  FastSet fastSet;
  fastSet.AddSample(SampleWord(836), 0);
  fastSet.AddSample(WordAbove(120), 0);
  fastSet.Reset();
  FastTrace trace = fastSet.Snapshot();
  EXPECT_TRUE(trace.samples.empty());
  EXPECT_EQ(0.0f, trace.peakAltitude);
  EXPECT_EQ(0.0f, trace.peakTime);
  EXPECT_EQ(5, trace.range.Width);  // kept until the next sample
  EXPECT_GT(trace.range.Height, 100);

  fastSet.AddSample(SampleWord(700), 0);
  trace = fastSet.Snapshot();
  EXPECT_DOUBLE_EQ(SensorConverter().Altitude(700), trace.groundAltitude);
  EXPECT_EQ(std::vector<double>{0.0}, trace.samples);
  EXPECT_EQ(0, trace.range.Height);
}

}  // namespace
