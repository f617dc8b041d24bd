#include "data/DataSet.h"

#include <gtest/gtest.h>

#include <cmath>

#include "data/PacketFixtures.h"
#include "support/LogCapture.h"

namespace {

void ExpectSeries(const std::vector<double>& expected, const std::vector<double>& actual) {
  ASSERT_EQ(expected.size(), actual.size());
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_NEAR(expected[i], actual[i], 1e-4) << "sample " << i;
}

TEST(DataSet, SmoothsAStep) {
  DataSet set;
  set.altitudeAgl = {0, 0, 0, 10, 10, 10};
  const LogCapture log;
  set.Smooth();
  EXPECT_EQ("0.66342 0.66342 0.66342 0.54036 0.54036 0.54036 ", log.Text());
  ExpectSeries({0, 0, 0, 4.5964, 7.08011, 8.42221}, set.smoothedAltitude);
  ExpectSeries(std::vector<double>(6, 16.8444), set.velocity);
  ExpectSeries({3.36888, 6.06399, 8.22007, 9.94494, 11.3248, 12.4288}, set.smoothedVelocity);
  EXPECT_DOUBLE_EQ(set.smoothedVelocity[5] * 3.6, set.smoothedVelocityKmh[5]);
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

TEST(DataSet, CollectsSamplesUpToTheNextStartPacket) {
  const DataPacket next = MakePacket(kStartPacketKind, {SampleWord(820)});
  const struct {
    const char* name;
    std::vector<DataPacket> packets;
    int32_t start;
    std::vector<int32_t> adc;
    std::vector<uint8_t> lineFlags;
  } cases[] = {
      {"no-sample word ends its packet only",
       {MakePacket(kStartPacketKind, {SampleWord(800), kNoSample, SampleWord(801)}),
        MakePacket(1, {SampleWord(802, 2), SampleWord(803, 1)}), next},
       0, {800, 802, 803}, {0, 2, 1}},
      {"later set", {MakePacket(kStartPacketKind, {SampleWord(810)}), next}, 1, {820}, {0}},
      {"erased packet ends the set as it ends the saved set",
       {MakePacket(kStartPacketKind, {SampleWord(800)}), MakePacket(kErasedPacketKind, {SampleWord(801)}),
        MakePacket(1, {SampleWord(802)})},
       0, {800}, {0}},
      {"start packet without samples", {MakePacket(kStartPacketKind, {}), next}, 0, {}, {}},
      {"no such set", {next}, -1, {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const LogCapture quiet;
    DataSet set;
    set.Build(c.packets, c.start, 0, 7);
    EXPECT_EQ(c.adc, set.adc);
    EXPECT_EQ(c.lineFlags, set.lineFlags);
    EXPECT_EQ(7, set.setNumber);
    EXPECT_EQ(c.adc.size(), set.smoothedVelocityKmh.size());
    if (c.adc.empty()) {
      EXPECT_EQ(-1, set.IndexOfMaximum(set.altitudeAgl));
    } else {
      EXPECT_EQ(0.0, set.altitudeAgl[0]);
    }
  }
}

TEST(DataSet, OneReadingBelowTheSensorsZeroLeavesEverySeriesFinite) {
  std::vector<uint16_t> words(31, SampleWord(836));
  words[12] = SampleWord(0);  // with the offset below: -100 counts, a negative pressure
  const std::vector<DataPacket> packets = {MakePacket(kStartPacketKind, words), MakePacket(1, words)};
  const LogCapture log;
  DataSet set;
  set.Build(packets, 0, -100, 0);
  ASSERT_EQ(62, set.SampleCount());
  for (const std::vector<double>* series :
       {&set.altitudeMsl, &set.altitudeAgl, &set.smoothedAltitude, &set.velocity, &set.smoothedVelocity}) {
    for (const double value : *series) ASSERT_TRUE(std::isfinite(value));
  }
  EXPECT_EQ(std::string::npos, log.Text().find("nan"));
  EXPECT_EQ(12, set.IndexOfMaximum(set.altitudeAgl));
  EXPECT_DOUBLE_EQ(0.0, set.altitudeAgl[40]);
}

TEST(DataSet, IndexOfMaximumTakesTheFirstOfEqualPeaks) {
  DataSet set;
  set.adc = {0, 0, 0, 0};
  EXPECT_EQ(1, set.IndexOfMaximum({1, 3, 3, 2}));
}

}  // namespace
