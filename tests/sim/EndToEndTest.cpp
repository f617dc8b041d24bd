// Simulated flights written into the simulated altimeter's memory come back
// through a download and a selection as the flights they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sim/SimAltimeterFixture.h"

namespace {

// The altimeter resolves about 9 m per ADC count near the ground.
constexpr double kOneCountM = 10.0;

using EndToEndTest = SimAltimeterTest;

TEST_F(EndToEndTest, DownloadedSetsShowTheModelledFlights) {
  const std::vector<FlightParameters> flights = PresetFlights(MemoryPreset::SeveralFlights);
  std::vector<RecordedFlight> recorded;
  std::vector<std::vector<DataPacket>> sets;
  for (const FlightParameters& flight : flights) {
    recorded.push_back(RecordFlight(flight));
    sets.push_back(recorded.back().packets);
  }
  altimeter->LoadMemory(LayOutMemory(sets));
  ASSERT_EQ(link.ReadData(nullptr, nullptr), 0);
  ASSERT_EQ(link.CountSets(), static_cast<int>(flights.size()));

  for (size_t n = 0; n < flights.size(); ++n) {
    SCOPED_TRACE(n);
    const RecordedFlight& flight = recorded[n];
    ASSERT_TRUE(link.SelectDataSet(static_cast<int32_t>(n)));
    const DataSet& set = link.currentSet;
    ASSERT_EQ(set.SampleCount(), static_cast<int32_t>(flight.words.size()));
    const double apogee = *std::max_element(set.smoothedAltitude.begin(), set.smoothedAltitude.end());
    EXPECT_NEAR(apogee, flight.apogeeMetres, kOneCountM);
    const int32_t top = set.IndexOfMaximum(set.smoothedAltitude);
    EXPECT_NEAR(top / 10.0, flight.apogeeTimeS, 2.0);
    EXPECT_NEAR(set.altitudeMsl[0], flights[n].groundAltitudeM, 2 * kOneCountM) << "one noisy, truncated sample";
    EXPECT_EQ(set.lineFlags[static_cast<size_t>(flight.lineASample)] & 2, 2);
    EXPECT_EQ(set.lineFlags[0], 0);
  }
}

}  // namespace
