// Flight statistics as people read them: units (a foot is 0.3048 m exactly),
// decimals, and what a row says when the set does not show a value.
#include <gtest/gtest.h>

#include <map>

#include "data/FlightStatRows.h"

namespace {

std::map<std::string, StatRow> RowsByLabel(const FlightStats& stats, UnitSystem units) {
  std::map<std::string, StatRow> rows;
  for (const StatRow& row : FlightStatRows(stats, units)) rows[row.label] = row;
  return rows;
}

// Values that come out round in one system or the other.
FlightStats RoundFlight() {
  FlightStats stats;
  stats.samples = 691;
  stats.durationS = 69.1;
  stats.launchS = 1.0;
  stats.burnOutS = 2.25;
  stats.topSpeed = 44.704;           // 100 mph, 146.7 ft/s, 160.9 km/h
  stats.acceleration = 3 * 9.80665;  // 3 g
  stats.apogee = 304.8;              // 1000 ft
  stats.apogeeS = 8.694;
  stats.lineA = LineFiring{9.9, 300.0};
  stats.descent = DescentRate{3.048, 0.03048, 11.9, 44.6};  // 10 ft/s
  stats.landingS = 63.3;
  return stats;
}

TEST(StatUnitsTest, AFootIsExactlyThreeHundredAndFourPointEightMillimetres) {
  EXPECT_EQ(1.0, InUnits(0.3048, Quantity::Altitude, UnitSystem::Imperial));
  EXPECT_EQ(10000.0, InUnits(3048.0, Quantity::Altitude, UnitSystem::Imperial));
  EXPECT_EQ(1.0, InUnits(0.3048, Quantity::Speed, UnitSystem::Imperial));
  EXPECT_EQ(1.0, InUnits(0.3048, Quantity::Acceleration, UnitSystem::Imperial));
  EXPECT_DOUBLE_EQ(1.0, InUnits(0.44704, Quantity::FastSpeed, UnitSystem::Imperial));
  EXPECT_DOUBLE_EQ(3.6, InUnits(1.0, Quantity::FastSpeed, UnitSystem::Metric));
  for (const UnitSystem units : {UnitSystem::Metric, UnitSystem::Imperial}) {
    EXPECT_EQ(12.5, InUnits(12.5, Quantity::Time, units)) << "seconds in both";
    EXPECT_DOUBLE_EQ(2.0, InUnits(2 * 9.80665, Quantity::GForce, units)) << "g in both";
  }
}

TEST(StatUnitsTest, FixedTextIsTheCLocalesAndNeverNegativeZero) {
  EXPECT_EQ("298.4", FixedText(298.44, 1));
  EXPECT_EQ("0.00", FixedText(-0.001, 2));
  EXPECT_EQ("-0.01", FixedText(-0.006, 2));
  EXPECT_EQ("1187", FixedText(1186.6, 0));
  EXPECT_EQ("12345678.9", FixedText(12345678.9, 1)) << "no exponent, no thousands separator";
  EXPECT_EQ("9999999999999999635896294965248.0", FixedText(1e31, 1)) << "every digit of a wide value";
  EXPECT_EQ(
      "1000000000000000052504760255204420248704468581108159154915854115511802457988908195786371375080447864043704"
      "4438328838781769425232353604305756447921847867069828483872009265758037378302337947880900593689532349707999"
      "45081119038967640880074652742780142494579258788820056842838115669472196386865459400540160",
      FixedText(1e300, 0));
}

TEST(FlightStatRowsTest, EachSystemShowsItsUnits) {
  const struct {
    UnitSystem units;
    std::map<std::string, std::pair<std::string, std::string>> rows;  // label: value, detail
  } cases[] = {
      {UnitSystem::Metric,
       {{"apogee", {"304.8 m", "at 8.69 s"}},
        {"top speed", {"44.7 m/s", "161 km/h at 2.25 s"}},
        {"acceleration", {"29.4 m/s^2", "3.00 g at lift-off"}},
        {"line A", {"9.90 s", "at 300.0 m"}},
        {"descent", {"3.05 m/s", "+/-0.03 m/s, 11.90 s to 44.60 s"}}}},
      {UnitSystem::Imperial,
       {{"apogee", {"1000.0 ft", "at 8.69 s"}},
        {"top speed", {"146.7 ft/s", "100 mph at 2.25 s"}},
        {"acceleration", {"96.5 ft/s^2", "3.00 g at lift-off"}},
        {"line A", {"9.90 s", "at 984.3 ft"}},
        {"descent", {"10.00 ft/s", "+/-0.10 ft/s, 11.90 s to 44.60 s"}}}},
  };
  for (const auto& c : cases) {
    const std::map<std::string, StatRow> rows = RowsByLabel(RoundFlight(), c.units);
    for (const auto& [label, expected] : c.rows) {
      SCOPED_TRACE(label);
      ASSERT_EQ(1u, rows.count(label));
      EXPECT_EQ(expected.first, rows.at(label).value);
      EXPECT_EQ(expected.second, rows.at(label).detail);
    }
  }
}

TEST(FlightStatRowsTest, WhatASetDoesNotShowReadsNone) {
  FlightStats padOnly;
  padOnly.samples = 1;
  padOnly.durationS = 0.1;
  const std::vector<StatRow> rows = FlightStatRows(padOnly, UnitSystem::Metric);
  std::vector<std::string> labels;
  for (const StatRow& row : rows) labels.push_back(row.label);
  EXPECT_EQ((std::vector<std::string>{"recording", "launch", "burn-out", "top speed", "acceleration", "apogee",
                                      "line A", "line B", "descent", "final descent", "landing", "flight time"}),
            labels)
      << "every row, always in this order, so tables line up";
  EXPECT_EQ("0.10 s", rows[0].value);
  EXPECT_EQ("1 sample", rows[0].detail);
  for (size_t i = 1; i < rows.size(); ++i) EXPECT_EQ("none", rows[i].value) << rows[i].label;
  EXPECT_EQ("never fired", RowsByLabel(padOnly, UnitSystem::Metric).at("line B").detail);

  FlightStats landed = RoundFlight();
  EXPECT_EQ("62.30 s", RowsByLabel(landed, UnitSystem::Metric).at("flight time").value);
  EXPECT_EQ("launch to landing", RowsByLabel(landed, UnitSystem::Metric).at("flight time").detail);
  landed.launchS.reset();
  EXPECT_EQ("none", RowsByLabel(landed, UnitSystem::Metric).at("flight time").value) << "needs the launch too";
}

TEST(FlightStatRowsTest, ErrorsLowerBoundsAndNotesReadAsSuch) {
  FlightStats stats = RoundFlight();
  stats.errors.launchS = 0.04;
  stats.errors.apogee = 1.2;
  stats.errors.apogeeS = 0.05;
  std::map<std::string, StatRow> rows = RowsByLabel(stats, UnitSystem::Metric);
  EXPECT_EQ("+/-0.04 s", rows.at("launch").detail);
  EXPECT_EQ("+/-1.2 m, at 8.69 s +/-0.05 s", rows.at("apogee").detail);

  stats.apogeeAtLeast = true;
  stats.apogeeS.reset();
  stats.notes = {"the sensor was at its limit from 8.30 s to 25.50 s: the apogee is a lower bound"};
  const std::vector<StatRow> pinned = FlightStatRows(stats, UnitSystem::Imperial);
  rows = RowsByLabel(stats, UnitSystem::Imperial);
  EXPECT_EQ("above 1000.0 ft", rows.at("apogee").value);
  EXPECT_EQ("a lower bound", rows.at("apogee").detail);
  EXPECT_EQ("note", pinned.back().label) << "notes come last";
  EXPECT_EQ(stats.notes.front(), pinned.back().value);
}

}  // namespace
