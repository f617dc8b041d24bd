#include "data/DataSet.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data/PacketFixtures.h"
#include "support/LogCapture.h"

namespace {

void ExpectSeries(const std::vector<double>& expected, const std::vector<double>& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(expected[i], actual[i], std::fabs(expected[i]) * 5e-6 + 1e-9);
  }
}

DataSet Built(const std::vector<DataPacket>& packets, int32_t start, int32_t offset = 0) {
  const LogCapture quiet;
  DataSet set;
  set.Build(packets, start, offset, 7);
  return set;
}

TEST(DataSet, SmoothsTheStepExample) {
  DataSet set;
  set.altitudeAgl = {0, 0, 0, 10, 10, 10};
  const LogCapture log;
  set.Smooth();
  EXPECT_EQ("0.66342 0.66342 0.66342 0.54036 0.54036 0.54036 ", log.Text());
  ExpectSeries({0, 0, 0, 4.5964, 7.08011, 8.42221}, set.smoothedAltitude);
  ExpectSeries(std::vector<double>(6, 16.8444), set.velocity);
  const std::vector<double> smoothed = {3.36888, 6.06399, 8.22007, 9.94494, 11.3248, 12.4288};
  ExpectSeries(smoothed, set.smoothedVelocity);
  std::vector<double> kmh;
  for (const double v : smoothed) kmh.push_back(v * 3.6);
  ExpectSeries(kmh, set.smoothedVelocityKmh);
}

TEST(DataSet, OneSampleSmoothsToItself) {
  DataSet set;
  set.altitudeAgl = {5.0};
  const LogCapture log;
  set.Smooth();
  EXPECT_EQ("0 ", log.Text());
  EXPECT_EQ(std::vector<double>{5.0}, set.smoothedAltitude);
  EXPECT_EQ(std::vector<double>{0.0}, set.velocity);
  EXPECT_EQ(std::vector<double>{0.0}, set.smoothedVelocity);
}

TEST(DataSet, OneSampleSetIsFinite) {
  const DataSet set = Built({MakePacket(kStartPacketKind, {SampleWord(700)})}, 0);
  ASSERT_EQ(1, set.SampleCount());
  for (const auto* series : {&set.voltage, &set.pressure, &set.altitudeMsl, &set.altitudeAgl, &set.smoothedAltitude,
                             &set.velocity, &set.smoothedVelocity, &set.smoothedVelocityKmh}) {
    ASSERT_EQ(1u, series->size());
    EXPECT_TRUE(std::isfinite(series->front()));
  }
  EXPECT_EQ(0.0, set.altitudeAgl[0]);
}

TEST(DataSet, CollectsSamplesUpToTheNextStartPacket) {
  struct Case {
    const char* name;
    std::vector<DataPacket> packets;
    int32_t start;
    std::vector<int32_t> adc;
    std::vector<uint8_t> lineFlags;
  };
  const Case cases[] = {
      {"no-sample word ends its packet only",
       {MakePacket(kStartPacketKind, {SampleWord(800), kNoSample, SampleWord(801)}),
        MakePacket(1, {SampleWord(802, 2), SampleWord(803, 1)})},
       0,
       {800, 802, 803},
       {0, 2, 1}},
      {"stops before the next set",
       {MakePacket(kStartPacketKind, {SampleWord(810, 3)}), MakePacket(kStartPacketKind, {SampleWord(820)})},
       0,
       {810},
       {3}},
      {"later set", {MakePacket(kStartPacketKind, {SampleWord(810)}), MakePacket(kStartPacketKind, {SampleWord(820)})},
       1,
       {820},
       {0}},
      {"start packet without samples", {MakePacket(kStartPacketKind, {}), MakePacket(kStartPacketKind, {SampleWord(1)})},
       0,
       {},
       {}},
      {"no such set", {MakePacket(kStartPacketKind, {SampleWord(810)})}, -1, {}, {}},
      {"empty list", {}, -1, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DataSet set = Built(c.packets, c.start);
    EXPECT_EQ(c.adc, set.adc);
    EXPECT_EQ(c.lineFlags, set.lineFlags);
    EXPECT_EQ(7, set.setNumber);
    EXPECT_EQ(c.adc.size(), set.smoothedVelocityKmh.size());
    EXPECT_EQ(c.adc.empty(), set.IsEmpty());
  }
}

TEST(DataSet, FullPacketKeepsAll31Words) {
  const DataSet set = Built({MakePacket(kStartPacketKind, std::vector<uint16_t>(31, SampleWord(1023, 3)))}, 0);
  EXPECT_EQ(std::vector<int32_t>(31, 1023), set.adc);
}

TEST(DataSet, OffsetConvertsAsAShiftedCount) {
  const std::vector<uint16_t> counts = {833, 830, 820, 825, 833};
  std::vector<uint16_t> plainWords, shiftedWords;
  for (const uint16_t count : counts) {
    plainWords.push_back(SampleWord(count + 3));
    shiftedWords.push_back(SampleWord(count));
  }
  const DataSet plain = Built({MakePacket(kStartPacketKind, plainWords)}, 0, 0);
  const DataSet shifted = Built({MakePacket(kStartPacketKind, shiftedWords)}, 0, 3);
  EXPECT_EQ(plain.altitudeMsl, shifted.altitudeMsl);
  EXPECT_EQ(plain.smoothedVelocityKmh, shifted.smoothedVelocityKmh);
  EXPECT_EQ(0.0, shifted.altitudeAgl[0]);
}

TEST(DataSet, RebuildReplacesTheSeries) {
  DataSet set = Built({MakePacket(kStartPacketKind, {SampleWord(800), SampleWord(790)})}, 0);
  {
    const LogCapture quiet;
    set.Build({MakePacket(kStartPacketKind, {SampleWord(700)})}, 0, 0, 3);
  }
  EXPECT_EQ(std::vector<int32_t>{700}, set.adc);
  EXPECT_EQ(1u, set.smoothedVelocityKmh.size());
  EXPECT_EQ(3, set.setNumber);
  set.Clear();
  EXPECT_TRUE(set.IsEmpty());
  EXPECT_TRUE(set.smoothedVelocityKmh.empty());
  EXPECT_EQ(3, set.setNumber);
}

TEST(DataSet, IndexOfMaximumTakesTheFirstOfEqualPeaks) {
  DataSet set;
  set.adc = {0, 0, 0, 0};
  EXPECT_EQ(1, set.IndexOfMaximum({1, 3, 3, 2}));
  EXPECT_EQ(0, set.IndexOfMaximum({5, 3, 3, 2}));
  EXPECT_EQ(3, set.IndexOfMaximum({-5, -3, -3, -2}));
  set.adc.clear();
  EXPECT_EQ(-1, set.IndexOfMaximum({1, 3, 3, 2}));
}

}  // namespace
