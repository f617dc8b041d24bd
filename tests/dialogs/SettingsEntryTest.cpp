#include "dialogs/SettingsEntry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "data/SensorConverter.h"

namespace {

constexpr uint64_t kTooLong = std::numeric_limits<uint64_t>::max();

TEST(SettingsEntry, BoxNumbersAreUnsignedDecimalAndSaturateWhenTooLong) {
  const struct {
    const wchar_t* text;
    std::optional<uint64_t> number;
  } cases[] = {
      {L"0", 0},
      {L"35", 35},
      {L" 42\t", 42},
      {L"007", 7},
      {L"6554", 6554},
      {L"18446744073709551615", kTooLong},
      {L"18446744073709551616", kTooLong},
      {L"99999999999999999999999999", kTooLong},
      {L"", std::nullopt},
      {L"  ", std::nullopt},
      {L"-1", std::nullopt},
      {L"+1", std::nullopt},
      {L"12x", std::nullopt},
      {L"1 2", std::nullopt},
      {L"\u0661", std::nullopt},  // an Arabic-Indic one
  };
  for (const auto& c : cases) EXPECT_EQ(c.number, BoxNumber(c.text)) << std::wstring(c.text).size();
}

TEST(SettingsEntry, AnEmptyBoxReadsAsNoughtAndPastedTextIsNoNumberAtAll) {
  const struct {
    const wchar_t* text;
    std::optional<uint64_t> value;
  } cases[] = {
      {L"", 0},           {L" \t", 0},          {L"12", 12},           {L"2.5", std::nullopt},
      {L"1,5", std::nullopt}, {L"-3", std::nullopt}, {L"12a", std::nullopt},
      {L"\uFF11\uFF12", std::nullopt},  // full-width digits
  };
  for (const auto& c : cases) EXPECT_EQ(c.value, SettingsBoxValue(c.text)) << std::wstring(c.text).size();
}

TEST(SettingsEntry, TheFirstBoxAWriteTakesWithoutAWholeNumberIsNamedAndNothingIsStored) {
  constexpr std::nullopt_t kText = std::nullopt;  // a box holding "2.5" or the like
  const struct {
    const char* name;
    SettingsEntry entry;
    std::optional<SettingsBox> box;
  } cases[] = {
      {"Line A time", {{LineMode::Time, kText, 5}, {LineMode::Time, kText, 5}, kText}, SettingsBox::LineATime},
      {"Line A altitude", {{LineMode::Altitude, kText, kText}, {LineMode::Apogee, 0, 0}, 0},
       SettingsBox::LineAAltitude},
      {"Line B time", {{LineMode::Apogee, kText, kText}, {LineMode::Time, kText, 0}, 0}, SettingsBox::LineBTime},
      {"Line B altitude", {{LineMode::Disabled, 1, 1}, {LineMode::Altitude, 1, kText}, kText},
       SettingsBox::LineBAltitude},
      {"the inhibit box last", {{LineMode::Time, 3, kText}, {LineMode::Altitude, kText, 150}, kText},
       SettingsBox::Inhibit},
      {"boxes no mode takes", {{LineMode::Disabled, kText, kText}, {std::nullopt, kText, kText}, 0}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.box, BoxWithoutNumber(c.entry));
    DeviceSettings settings;
    settings.lineAValue = 35;
    const DeviceSettings before = settings;
    EXPECT_EQ(!c.box, FitsRecord(c.entry));
    EXPECT_EQ(!c.box, ApplyEntry(c.entry, settings));
    if (c.box) {
      EXPECT_EQ(before.lineAMode, settings.lineAMode);
      EXPECT_EQ(before.lineAValue, settings.lineAValue);
      EXPECT_EQ(before.lineBMode, settings.lineBMode);
      EXPECT_EQ(before.inhibitTime, settings.inhibitTime);
    }
  }
}

TEST(SettingsEntry, ValuesThatWouldWrapAreRefusedOnlyInTheBoxTheModeTakes) {
  const struct {
    const char* name;
    SettingsEntry entry;
    bool fits;
  } cases[] = {
      {"largest time", {{LineMode::Time, 6553, 0}, {LineMode::Time, 6553, 0}, 0}, true},
      {"Line A time 7000 s", {{LineMode::Time, 7000, 0}, {LineMode::Disabled, 0, 0}, 0}, false},
      {"Line B time one past", {{LineMode::Apogee, 0, 0}, {LineMode::Time, 6554, 0}, 0}, false},
      {"largest altitude", {{LineMode::Altitude, 0, 65535}, {LineMode::Altitude, 0, 65535}, 0}, true},
      {"Line A altitude one past", {{LineMode::Altitude, 0, 65536}, {LineMode::Apogee, 0, 0}, 0}, false},
      {"Line B altitude too long to read", {{LineMode::Disabled, 0, 0}, {LineMode::Altitude, 0, kTooLong}, 0}, false},
      {"largest inhibit", {{LineMode::Apogee, 0, 0}, {LineMode::Altitude, 0, 150}, 6553}, true},
      {"inhibit one past", {{LineMode::Apogee, 0, 0}, {LineMode::Altitude, 0, 150}, 6554}, false},
      {"time box unused in Altitude", {{LineMode::Altitude, 7000, 100}, {LineMode::Altitude, kTooLong, 100}, 0}, true},
      {"altitude box unused in Time", {{LineMode::Time, 5, 70000}, {LineMode::Time, 5, kTooLong}, 0}, true},
      {"boxes unused when disabled", {{LineMode::Disabled, 7000, 70000}, {LineMode::Apogee, 7000, 70000}, 0}, true},
      {"no mode checked", {{std::nullopt, 7000, 70000}, {std::nullopt, kTooLong, kTooLong}, 0}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.fits, FitsRecord(c.entry)) << c.name;
}

TEST(SettingsEntry, AnEntryThatFitsIsStoredExactly) {
  const struct {
    const char* name;
    SettingsEntry entry;
    LineMode lineAMode;
    uint16_t lineAValue;
    LineMode lineBMode;
    uint16_t lineBValue;
    uint16_t inhibitTime;
  } cases[] = {
      // The record starts as Line A Time 35 (3.5 s), Line B Altitude 150.
      {"shown unchanged, the half second goes", {{LineMode::Time, 3, 35}, {LineMode::Altitude, 15, 150}, 2},
       LineMode::Time, 30, LineMode::Altitude, 150, 20},
      {"largest values", {{LineMode::Time, 6553, 0}, {LineMode::Altitude, 0, 65535}, 6553},
       LineMode::Time, 65530, LineMode::Altitude, 65535, 65530},
      {"Apogee and Disabled keep the values", {{LineMode::Apogee, 9, 9}, {LineMode::Disabled, 9, 9}, 0},
       LineMode::Apogee, 35, LineMode::Disabled, 150, 0},
      {"no mode checked keeps mode and value", {{std::nullopt, 9, 9}, {std::nullopt, 9, 9}, 21},
       LineMode::Time, 35, LineMode::Altitude, 150, 210},
      {"modes swapped", {{LineMode::Altitude, 1, 300}, {LineMode::Time, 12, 1}, 20},
       LineMode::Altitude, 300, LineMode::Time, 120, 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeviceSettings settings;
    settings.lineAMode = LineMode::Time;
    settings.lineAValue = 35;
    const DeviceSettings before = settings;
    EXPECT_TRUE(ApplyEntry(c.entry, settings));
    EXPECT_EQ(c.lineAMode, settings.lineAMode);
    EXPECT_EQ(c.lineAValue, settings.lineAValue);
    EXPECT_EQ(c.lineBMode, settings.lineBMode);
    EXPECT_EQ(c.lineBValue, settings.lineBValue);
    EXPECT_EQ(c.inhibitTime, settings.inhibitTime);
    EXPECT_EQ(before.adcOffset, settings.adcOffset);
    EXPECT_EQ(before.maxReadings, settings.maxReadings);
    EXPECT_EQ(before.image, settings.image) << "the image waits for Build";
  }
}

TEST(SettingsEntry, WarningsForALargeInhibitAndADisabledLine) {
  const struct {
    uint16_t inhibitTime;
    LineMode lineA;
    LineMode lineB;
    bool inhibitLarge;
    bool lineDisabled;
  } cases[] = {
      {200, LineMode::Apogee, LineMode::Altitude, false, false},
      {210, LineMode::Time, LineMode::Apogee, true, false},
      {0, LineMode::Disabled, LineMode::Altitude, false, true},
      {0, LineMode::Time, LineMode::Disabled, false, true},
      {65530, LineMode::Disabled, LineMode::Disabled, true, true},
  };
  for (const auto& c : cases) {
    DeviceSettings settings;
    settings.inhibitTime = c.inhibitTime;
    settings.lineAMode = c.lineA;
    settings.lineBMode = c.lineB;
    EXPECT_EQ(c.inhibitLarge, InhibitIsLarge(settings)) << c.inhibitTime;
    EXPECT_EQ(c.lineDisabled, AnyLineDisabled(settings)) << c.inhibitTime;
  }
}

TEST(SettingsEntry, GroundAltitudesTheAtmosphereModelCanTake) {
  const struct {
    const wchar_t* text;
    std::optional<uint32_t> metres;
  } cases[] = {
      {L"0", 0u},
      {L"150", 150u},
      {L"44330", 44330u},
      {L"44331", std::nullopt},
      {L"4294967296", std::nullopt},
      {L"99999999999999999999999", std::nullopt},
      {L"", std::nullopt},
      {L"-10", std::nullopt},
      {L"1e3", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(c.metres, GroundAltitude(c.text)) << std::wstring(c.text).size();
}

TEST(SettingsEntry, CalibrationOffsetIsExpectedMinusMeasuredWithinASignedByte) {
  const SensorConverter converter;
  const struct {
    int32_t expected;
    uint16_t measured;
    std::optional<int8_t> offset;
  } cases[] = {
      {converter.AdcForAltitude(0), 830, 6},
      {converter.AdcForAltitude(0), 840, -4},
      {converter.AdcForAltitude(1000), 731, 0},
      {836, 709, 127},
      {836, 708, std::nullopt},
      {836, 964, -128},
      {836, 965, std::nullopt},
      {836, 65535, std::nullopt},
      {converter.AdcForAltitude(44330), 836, std::nullopt},
      {std::numeric_limits<int32_t>::min(), 0, std::nullopt},
      {std::numeric_limits<int32_t>::max(), 0, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(c.offset, CalibrationOffset(c.expected, c.measured)) << c.measured;
}

}  // namespace
