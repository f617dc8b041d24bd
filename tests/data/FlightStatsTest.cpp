// The flight statistics against the simulated flight model, which knows each
// flight's truth, over light and heavy, high and low, quiet and noisy flights
// with and without line firings; and on sets that hold no whole flight.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data/FlightStats.h"
#include "data/LineFlags.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"

namespace {

constexpr uint32_t kSeedsPerKind = 3;

struct FlightKind {
  std::string name;
  FlightParameters flight;
  // How near the apogee must be: 1 % (at least 1 m) unless the flight is too
  // low for the pad's samples to allow it.
  double apogeeTolerance(double truth) const { return std::max({0.01 * truth, 1.0, lowFlightToleranceM}); }
  double lowFlightToleranceM = 0.0;
};

FlightParameters DualDeploy(uint16_t mainAltitude) {
  FlightParameters flight;
  flight.rules.lineAMode = LineMode::Apogee;
  flight.rules.lineBMode = LineMode::Altitude;
  flight.rules.lineBValue = mainAltitude;
  flight.rules.maxReadings = 3968;
  return flight;
}

std::vector<FlightKind> FlightKinds() {
  std::vector<FlightKind> kinds;
  // 300 m: the pad's ten samples before the launch know its level to about
  // 1.3 m and the top is as uncertain, so 1 % (3 m) is two standard errors.
  FlightKind club{"club, 300 m", DualDeploy(100)};
  club.lowFlightToleranceM = 5.0;
  kinds.push_back(club);

  FlightKind high{"high and fast down, 680 m", DualDeploy(200)};
  high.flight.thrustN = 32.0;
  high.flight.burnTimeS = 1.8;
  high.flight.descentRateMs = 9.0;
  high.flight.groundAltitudeM = 420.0;
  kinds.push_back(high);

  FlightKind heavy{"heavy, long burn, 950 m", DualDeploy(150)};
  heavy.flight.liftoffMassKg = 0.6;
  heavy.flight.propellantMassKg = 0.08;
  heavy.flight.thrustN = 60.0;
  heavy.flight.burnTimeS = 2.5;
  heavy.flight.dragAreaM2 = 0.0012;
  heavy.flight.descentRateMs = 6.0;
  kinds.push_back(heavy);

  FlightKind light{"light, short burn, high site, 540 m", DualDeploy(200)};
  light.flight.liftoffMassKg = 0.15;
  light.flight.propellantMassKg = 0.015;
  light.flight.thrustN = 30.0;
  light.flight.burnTimeS = 1.0;
  light.flight.dragAreaM2 = 0.0006;
  light.flight.descentRateMs = 7.0;
  light.flight.groundAltitudeM = 1200.0;
  kinds.push_back(light);

  FlightKind noisy{"noisy sensor, 870 m", DualDeploy(200)};
  noisy.flight.thrustN = 40.0;
  noisy.flight.burnTimeS = 2.0;
  noisy.flight.descentRateMs = 6.0;
  noisy.flight.noiseCounts = 0.7;
  kinds.push_back(noisy);

  FlightKind silent{"no line fires, 670 m", DualDeploy(0)};
  silent.flight.thrustN = 32.0;
  silent.flight.burnTimeS = 1.8;
  silent.flight.descentRateMs = 6.0;
  silent.flight.rules.lineAMode = LineMode::Disabled;
  silent.flight.rules.lineBMode = LineMode::Disabled;
  kinds.push_back(silent);

  FlightKind timed = silent;
  timed.name = "line A by time while coasting, line B at apogee";
  timed.flight.rules.lineAMode = LineMode::Time;
  timed.flight.rules.lineAValue = 30;
  timed.flight.rules.lineBMode = LineMode::Apogee;
  kinds.push_back(timed);

  FlightKind unlanded{"slow descent, recording ends in the air, 1360 m", DualDeploy(700)};
  unlanded.flight.thrustN = 60.0;
  unlanded.flight.burnTimeS = 2.5;
  unlanded.flight.descentRateMs = 2.0;
  unlanded.flight.groundAltitudeM = 420.0;
  unlanded.flight.rules.maxReadings = 2000;
  kinds.push_back(unlanded);
  return kinds;
}

DataSet SetOf(const std::vector<DataPacket>& packets) {
  DataSet set;
  set.Build(packets, packets.empty() ? -1 : 0, 0, 0);
  return set;
}

void ExpectWithin(double expected, double actual, double tolerance, const char* what) {
  EXPECT_NEAR(expected, actual, tolerance) << what;
}

// A firing where the flight model's altimeter decided it, at the altitude it fired for.
void ExpectFiring(const std::optional<LineFiring>& firing, int sample, LineMode mode, uint16_t value,
                  const RecordedFlight& truth) {
  if (sample < 0) {
    EXPECT_FALSE(firing) << "never fired";
    return;
  }
  ASSERT_TRUE(firing);
  EXPECT_NEAR(sample * 0.1, firing->timeS, 1e-9);
  if (mode == LineMode::Altitude) {
    EXPECT_NEAR(value, firing->altitude, 15.0) << "fired at its altitude";
  } else if (mode == LineMode::Apogee) {
    EXPECT_NEAR(truth.apogeeMetres, firing->altitude, 40.0) << "fired near the top";
  }
}

void ExpectDescent(const std::optional<DescentRate>& descent, double rate) {
  ASSERT_TRUE(descent);
  EXPECT_NEAR(rate, descent->rate, 0.05 * rate) << "over " << descent->fromS << " s to " << descent->toS << " s";
  EXPECT_LT(descent->error, 0.02 * rate) << "a window this long measures the rate closely";
}

TEST(FlightStatsTest, ModelledFlightsMatchTheirTruth) {
  const LogCapture log;
  for (const FlightKind& kind : FlightKinds()) {
    for (uint32_t seed = 1; seed <= kSeedsPerKind; ++seed) {
      SCOPED_TRACE(kind.name + ", seed " + std::to_string(seed));
      FlightParameters parameters = kind.flight;
      parameters.seed = seed;
      const RecordedFlight truth = RecordFlight(parameters);
      const FlightStats stats = ComputeFlightStats(SetOf(truth.packets));
      ASSERT_TRUE(stats.apogee && stats.apogeeS && stats.launchS && stats.burnOutS && stats.topSpeed);
      ExpectWithin(truth.apogeeMetres, *stats.apogee, kind.apogeeTolerance(truth.apogeeMetres), "apogee");
      ExpectWithin(truth.apogeeTimeS, *stats.apogeeS, 0.2, "apogee time");
      ExpectWithin(truth.burnOutTimeS, *stats.burnOutS, 0.3, "burn-out");
      ExpectWithin(truth.launchTimeS, *stats.launchS, 0.3, "launch");
      ExpectWithin(truth.topSpeedMs, *stats.topSpeed, 0.05 * truth.topSpeedMs, "top speed");
      // The boost's first few metres lie within one sensor step, so its start and
      // thus its acceleration are known to tens of percent only.
      const double liftOff = parameters.thrustN / parameters.liftoffMassKg - 9.80665;
      ASSERT_TRUE(stats.acceleration);
      ExpectWithin(liftOff, *stats.acceleration, 0.5 * liftOff, "acceleration");

      const FlightRules& rules = parameters.rules;
      ExpectFiring(stats.lineA, truth.lineASample, rules.lineAMode, rules.lineAValue, truth);
      ExpectFiring(stats.lineB, truth.lineBSample, rules.lineBMode, rules.lineBValue, truth);
      ExpectDescent(stats.descent, parameters.descentRateMs);
      const bool mainChute = rules.lineBMode == LineMode::Altitude && truth.lineBSample >= 0;
      if (mainChute) {
        ExpectDescent(stats.finalDescent, parameters.descentRateMs);
      }
      EXPECT_EQ(mainChute, stats.finalDescent.has_value()) << "a firing low in the descent starts a stage";

      EXPECT_EQ(truth.landingTimeS >= 0.0, stats.landingS.has_value());
      if (truth.landingTimeS >= 0.0 && stats.landingS) {
        ExpectWithin(truth.landingTimeS, *stats.landingS, 0.5, "landing");
        ExpectWithin(truth.landingTimeS - truth.launchTimeS, *stats.FlightTimeS(), 0.5, "flight time");
      }
    }
  }
}

// The stages of the descent: the apogee's firings only delay the first
// window, a firing low down ends it and starts the final one.
TEST(FlightStatsTest, FiringsSplitTheDescentIntoStages) {
  const LogCapture log;
  FlightParameters flight = DualDeploy(150);
  flight.seed = 4;
  const RecordedFlight truth = RecordFlight(flight);
  const FlightStats stats = ComputeFlightStats(SetOf(truth.packets));
  ASSERT_TRUE(stats.descent && stats.finalDescent && stats.lineA && stats.lineB && stats.landingS);
  EXPECT_NEAR(stats.lineA->timeS + 2.0, stats.descent->fromS, 0.1) << "2 s after the apogee's firing";
  EXPECT_NEAR(stats.lineB->timeS, stats.descent->toS, 0.1) << "up to the main's firing";
  EXPECT_NEAR(stats.lineB->timeS + 2.0, stats.finalDescent->fromS, 0.1);
  EXPECT_NEAR(*stats.landingS - 1.0, stats.finalDescent->toS, 0.1) << "up to 1 s before the landing";
}

TEST(FlightStatsTest, SetsWithoutAWholeFlightGiveOnlyWhatTheyShow) {
  const LogCapture log;
  FlightParameters cut = DualDeploy(100);
  cut.rules.maxReadings = 40;  // 20 samples on the pad, 2 s of boost
  const std::vector<uint16_t> boostOnly = RecordFlight(cut).words;
  std::vector<uint16_t> pad(200, MakeSampleWord(820, 0));
  pad[100] = MakeSampleWord(820, kLineAFlag);  // a line fired on the pad, by hand
  const struct {
    const char* name;
    std::vector<uint16_t> words;
  } cases[] = {
      {"empty", {}},
      {"one sample", {MakeSampleWord(820, 0)}},
      {"on the pad, a line fired", pad},
      {"cut during the boost", boostOnly},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const FlightStats stats = ComputeFlightStats(SetOf(PacketsOfSet(c.words)));
    EXPECT_EQ(static_cast<int32_t>(c.words.size()), stats.samples);
    EXPECT_NEAR(c.words.size() * 0.1, stats.durationS, 1e-9);
    EXPECT_FALSE(stats.apogee || stats.launchS || stats.burnOutS || stats.topSpeed || stats.acceleration);
    EXPECT_FALSE(stats.descent || stats.finalDescent || stats.landingS || stats.FlightTimeS());
    EXPECT_FALSE(stats.lineB);
  }
  const FlightStats onPad = ComputeFlightStats(SetOf(PacketsOfSet(pad)));
  ASSERT_TRUE(onPad.lineA);
  EXPECT_NEAR(10.0, onPad.lineA->timeS, 1e-9);
  EXPECT_NEAR(0.0, onPad.lineA->altitude, 1e-9) << "the pad's own level";
}

}  // namespace
