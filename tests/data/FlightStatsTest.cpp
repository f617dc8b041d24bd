// The flight statistics against the flight model, which knows each flight's
// truth: every kind in the catalogue over seeds, the hard ones said as such,
// and sets that hold no whole flight.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "data/FlightStats.h"
#include "data/LineFlags.h"
#include "sim/FlightCatalogue.h"
#include "support/LogCapture.h"

namespace {

constexpr uint32_t kSeedsPerKind = 3;

DataSet SetOf(const std::vector<DataPacket>& packets) {
  DataSet set;
  set.Build(packets, packets.empty() ? -1 : 0, 0, 0);
  return set;
}

struct Flown {
  FlightParameters flight;
  RecordedFlight truth;
  FlightStats stats;
};

Flown Fly(FlightParameters flight, uint32_t seed = 1) {
  flight.seed = seed;
  const RecordedFlight truth = RecordFlight(flight);
  return {flight, truth, ComputeFlightStats(SetOf(truth.packets))};
}

bool HasNote(const FlightStats& stats, const std::string& start) {
  return std::any_of(stats.notes.begin(), stats.notes.end(),
                     [&](const std::string& note) { return note.rfind(start, 0) == 0; });
}

// Whatever is given lies within the bounds the README states.
void ExpectWithinBounds(const Flown& f) {
  const FlightStats& s = f.stats;
  const RecordedFlight& t = f.truth;
  const double apogeeTruth = t.apogeeMetres - (s.fromFirstSample ? t.startHeightM : 0.0);
  if (s.apogee && s.apogeeAtLeast) {
    EXPECT_LE(*s.apogee, apogeeTruth) << "a lower bound";
  }
  if (s.apogee && !s.apogeeAtLeast) {
    EXPECT_NEAR(apogeeTruth, *s.apogee, std::max(0.015 * apogeeTruth, 6.0));
  }
  const bool fitted = s.launchS && !HasNote(s, "the fitted apogee is unsure");
  if (s.apogeeS) {
    EXPECT_NEAR(t.apogeeTimeS, *s.apogeeS, fitted ? 0.2 : 1.2) << "fitted, or the samples' top";
  }
  if (s.launchS) {
    EXPECT_NEAR(t.launchTimeS, *s.launchS, 0.3);
  }
  if (s.burnOutS) {
    EXPECT_NEAR(t.burnOutTimeS, *s.burnOutS, 0.3);
  }
  if (s.topSpeed) {
    EXPECT_NEAR(t.topSpeedMs, *s.topSpeed, 0.05 * t.topSpeedMs);
  }
  const double liftOff = f.flight.thrustN / f.flight.liftoffMassKg - 9.80665;
  if (s.acceleration) {
    EXPECT_NEAR(liftOff, *s.acceleration, 5.0 * s.errors.acceleration);
  }
  for (const double error : {s.errors.launchS, s.errors.burnOutS, fitted ? s.errors.apogeeS : 0.0}) {
    EXPECT_LE(error, 0.2);
  }
  if (s.landingS && t.landingTimeS >= 0.0) {
    EXPECT_NEAR(t.landingTimeS, *s.landingS, 0.7);
  }
  if (s.landingS) {
    EXPECT_GE(t.landingTimeS, 0.0) << "no landing where the set ended in the air";
  }
  for (const auto& descent : {s.descent, s.finalDescent}) {
    if (!descent) continue;
    EXPECT_GE(descent->toS - descent->fromS, 2.0);
    if (s.landingS) {
      EXPECT_LE(descent->toS, *s.landingS) << "no window reaches past the landing";
    }
  }
}

TEST(FlightStatsTest, EveryKindOfFlightStaysWithinItsBounds) {
  const LogCapture log;
  for (const CataloguedFlight& kind : FlightCatalogue()) {
    for (uint32_t seed = 1; seed <= kSeedsPerKind; ++seed) {
      SCOPED_TRACE(kind.name + ", seed " + std::to_string(seed));
      ExpectWithinBounds(Fly(kind.flight, seed));
    }
  }
}

TEST(FlightStatsTest, OrdinaryFlightsGiveEveryValueAndTheirStages) {
  const LogCapture log;
  const Flown f = Fly(CataloguedFlightNamed("heavy, long burn, 950 m"), 4);
  const FlightStats& s = f.stats;
  ASSERT_TRUE(s.launchS && s.burnOutS && s.topSpeed && s.apogee && s.apogeeS && s.landingS);
  ASSERT_TRUE(s.descent && s.finalDescent && s.lineA && s.lineB);
  EXPECT_TRUE(s.notes.empty()) << s.notes.front();
  EXPECT_NEAR(f.flight.descentRateMs, s.descent->rate, 0.05 * f.flight.descentRateMs);
  EXPECT_NEAR(f.flight.mainDescentRateMs, s.finalDescent->rate, 0.05 * f.flight.mainDescentRateMs);
  EXPECT_GE(s.descent->fromS + 1e-9, s.lineA->timeS + 2.0) << "2 s after the apogee's firing, never a sample early";
  EXPECT_NEAR(s.lineB->timeS, s.descent->toS, 0.1) << "up to the main's firing";
  EXPECT_NEAR(*s.landingS - 1.0, s.finalDescent->toS, 0.1) << "up to 1 s before the landing";
  EXPECT_GT(s.errors.apogee, 0.0);
  EXPECT_NEAR(s.lineA->altitude + s.padLevel, s.apogee.value() + s.padLevel, 40.0);

  const Flown silent = Fly(CataloguedFlightNamed("no line fires, 670 m"));
  ASSERT_TRUE(silent.stats.descent && silent.stats.apogeeS);
  EXPECT_GE(silent.stats.descent->fromS + 1e-9, *silent.stats.apogeeS + 2.0) << "a fitted apogee time is fractional";
}

TEST(FlightStatsTest, AMainThatChangesNothingIsSaidAndTheDescentRunsThroughIt) {
  const LogCapture log;
  const Flown failed = Fly(CataloguedFlightNamed("failed main, 20 m/s to the ground"));
  ASSERT_TRUE(failed.stats.descent && failed.stats.landingS && failed.stats.lineB);
  EXPECT_TRUE(HasNote(failed.stats, "no change of rate after line B"));
  EXPECT_FALSE(failed.stats.finalDescent);
  EXPECT_NEAR(20.0, failed.stats.descent->rate, 1.0) << "not a soft landing";
  EXPECT_GT(failed.stats.descent->toS, failed.stats.lineB->timeS + 2.0);

  const Flown late = Fly(CataloguedFlightNamed("late main, fired 2 s before touchdown"));
  ASSERT_TRUE(late.stats.descent && late.stats.landingS && late.stats.lineB);
  EXPECT_NEAR(late.truth.landingTimeS, *late.stats.landingS, 0.5) << "searched from the firing, not past the touchdown";
  EXPECT_FALSE(late.stats.finalDescent) << "its window would lie after the landing";
  EXPECT_NEAR(20.0, late.stats.descent->rate, 1.0);
  EXPECT_TRUE(HasNote(late.stats, "line B fired "));

  FlightParameters twoMains = CataloguedFlightNamed("heavy, long burn, 950 m");
  twoMains.rules.lineAMode = LineMode::Altitude;  // both lines well below the apogee
  twoMains.rules.lineAValue = 500;
  twoMains.rules.lineBValue = 150;
  const Flown two = Fly(twoMains);
  ASSERT_TRUE(two.stats.finalDescent && two.stats.lineB);
  EXPECT_GE(two.stats.finalDescent->fromS, two.stats.lineB->timeS + 2.0) << "the last firing starts the last stage";
}

TEST(FlightStatsTest, ClimbsOutsideTheModelGiveNoneOfItsValuesAndSayWhy) {
  const LogCapture log;
  for (uint32_t seed = 1; seed <= kSeedsPerKind; ++seed) {
    const FlightStats two = Fly(CataloguedFlightNamed("two stages, 5 s coast between"), seed).stats;
    EXPECT_TRUE(HasNote(two, "not a single-motor climb")) << seed;
    EXPECT_FALSE(two.launchS || two.burnOutS || two.topSpeed || two.acceleration || two.FlightTimeS());
    EXPECT_TRUE(two.apogee && two.apogeeS) << "the samples still show the top";
  }
  const Flown reset = Fly(CataloguedFlightNamed("reset in flight, recording starts while coasting"));
  EXPECT_TRUE(reset.stats.fromFirstSample);
  EXPECT_EQ(0.0, reset.stats.padLevel) << "altitudes above the first sample, as the graph shows them";
  EXPECT_FALSE(reset.stats.launchS || reset.stats.topSpeed || reset.stats.FlightTimeS());
  ASSERT_TRUE(reset.stats.apogee && reset.stats.landingS);

  const Flown shortBoost = Fly(CataloguedFlightNamed("0.2 s boost, 310 m/s^2"));
  EXPECT_FALSE(shortBoost.stats.acceleration) << "two samples of boost cannot show it";
  EXPECT_TRUE(HasNote(shortBoost.stats, "launch, burn-out and acceleration none") ||
              HasNote(shortBoost.stats, "acceleration none"));
}

TEST(FlightStatsTest, ASensorPinnedAtTheTopGivesALowerBoundAndNoRatesOverIt) {
  const LogCapture log;
  const Flown f = Fly(CataloguedFlightNamed("sensor's range ends 800 m above the pad"));
  ASSERT_TRUE(f.stats.apogee);
  EXPECT_TRUE(f.stats.apogeeAtLeast);
  EXPECT_FALSE(f.stats.apogeeS);
  EXPECT_NEAR(800.0, *f.stats.apogee, 10.0);
  EXPECT_TRUE(HasNote(f.stats, "the sensor was at its limit from "));
  ASSERT_TRUE(f.stats.descent);
  EXPECT_GT(f.stats.descent->fromS, 20.0) << "after the pinned stretch";
  EXPECT_TRUE(f.stats.launchS && f.stats.topSpeed) << "the climb below the limit is still fitted";
}

TEST(FlightStatsTest, AltitudesAreAboveThePadWhereverTheFirstSampleLies) {
  const LogCapture log;
  FlightParameters flight = CataloguedFlightNamed("heavy, long burn, 950 m");
  RecordedFlight truth = RecordFlight(flight);
  truth.words[0] = MakeSampleWord(((truth.words[0] >> 4) & 0x3FF) - 3, 0);  // a first sample 27 m high
  const FlightStats stats = ComputeFlightStats(SetOf(PacketsOfSet(truth.words)));
  ASSERT_TRUE(stats.lineB && stats.apogee);
  EXPECT_LT(stats.padLevel, -20.0);
  EXPECT_NEAR(flight.rules.lineBValue, stats.lineB->altitude, 15.0);
  EXPECT_NEAR(truth.apogeeMetres, *stats.apogee, 0.015 * truth.apogeeMetres);

  // Without a pad, the top of equal 1-s means is their first.
  std::vector<uint16_t> words;
  for (int i = 0; i < 40; ++i) words.push_back(MakeSampleWord(800 - i / 4, 0));  // 22 m/s up
  words.insert(words.end(), 40, MakeSampleWord(790, 0));
  for (int i = 0; i < 100; ++i) words.push_back(MakeSampleWord(790 + std::min(i / 4, 10), 0));
  const FlightStats flat = ComputeFlightStats(SetOf(PacketsOfSet(words)));
  EXPECT_TRUE(flat.fromFirstSample);
  ASSERT_TRUE(flat.apogeeS);
  EXPECT_NEAR(4.5, *flat.apogeeS, 1e-9);
}

TEST(FlightStatsTest, SetsWithoutAWholeFlightGiveOnlyWhatTheyShow) {
  const LogCapture log;
  FlightParameters cut = CataloguedFlightNamed("club, 300 m");
  cut.rules.maxReadings = 40;  // 20 samples on the pad, 2 s of boost
  const std::vector<uint16_t> boostOnly = RecordFlight(cut).words;
  std::vector<uint16_t> pad(200, MakeSampleWord(820, 0));
  pad[100] = MakeSampleWord(820, kLineAFlag);  // a line fired on the pad, by hand
  std::vector<uint16_t> bump = pad;
  for (size_t i = 60; i < 90; ++i) bump[i] = MakeSampleWord(818, 0);  // two counts up for 3 s: 18 m
  std::vector<uint16_t> falling;
  for (int i = 0; i < 200; ++i) falling.push_back(MakeSampleWord(700 + i / 2, 0));  // from its top, down
  std::vector<uint16_t> hop(3, MakeSampleWord(820, 0));  // tops out within its first second
  for (int i = 1; i <= 5; ++i) hop.push_back(MakeSampleWord(820 - 3 * i, 0));
  for (int i = 1; i <= 200; ++i) hop.push_back(MakeSampleWord(805 + std::min(3 * i, 15), 0));
  const struct {
    const char* name;
    std::vector<uint16_t> words;
  } cases[] = {
      {"empty", {}},
      {"one sample", {MakeSampleWord(820, 0)}},
      {"on the pad, a line fired", pad},
      {"a bump of less than 20 m on the pad", bump},
      {"starts at its top", falling},
      {"tops out within its first second", hop},
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

  FlightParameters landed = CataloguedFlightNamed("failed main, 20 m/s to the ground");
  const RecordedFlight whole = RecordFlight(landed);
  landed.rules.maxReadings = static_cast<uint16_t>(whole.landingTimeS * 10.0 + 5.0);  // 0.5 s on the ground
  EXPECT_FALSE(ComputeFlightStats(SetOf(RecordFlight(landed).packets)).landingS) << "less than 1 s of rest";
  landed.rules.maxReadings += 10;
  EXPECT_TRUE(ComputeFlightStats(SetOf(RecordFlight(landed).packets)).landingS);
}

}  // namespace
