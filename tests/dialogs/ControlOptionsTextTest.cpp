#include "dialogs/ControlOptionsText.h"

#include <gtest/gtest.h>

#include <locale>
#include <stdexcept>

namespace {

TEST(ControlOptionsText, APressureReadingConvertsWithTheDevicesOwnOffset) {
  const struct {
    uint16_t adc;
    int32_t offset;
    std::vector<std::wstring> lines;
  } cases[] = {
      // A device with offset +3 reading 833 shows what 836 shows without one.
      {833, 3,
       {L"\r\nCurrent ADC: 833", L"Current Voltage: 4.08203 Volts", L"Current Pressure: 101.267 kPa",
        L"Current MSL Altitude: 4.79904 Meters"}},
      {836, 0,
       {L"\r\nCurrent ADC: 836", L"Current Voltage: 4.08203 Volts", L"Current Pressure: 101.267 kPa",
        L"Current MSL Altitude: 4.79904 Meters"}},
      {1023, 127,
       {L"\r\nCurrent ADC: 1023", L"Current Voltage: 5.61523 Volts", L"Current Pressure: 135.339 kPa",
        L"Current MSL Altitude: -2509.78 Meters"}},
      // Below the sensor's zero the altitude stops at the top of the atmosphere.
      {0, -128,
       {L"\r\nCurrent ADC: 0", L"Current Voltage: -0.625 Volts", L"Current Pressure: -3.33333 kPa",
        L"Current MSL Altitude: 44330.3 Meters"}},
  };
  for (const auto& c : cases) EXPECT_EQ(c.lines, PressureReadingLines(c.adc, c.offset)) << c.adc;
}

TEST(ControlOptionsText, TheBatteryReplyIsInTenthsOfAVolt) {
  const struct {
    uint16_t tenths;
    const wchar_t* line;
  } cases[] = {
      {94, L"Current Voltage: 9.4 Volts"},
      {90, L"Current Voltage: 9 Volts"},
      {5, L"Current Voltage: 0.5 Volts"},
      {0, L"Current Voltage: 0 Volts"},
      {65535, L"Current Voltage: 6553.5 Volts"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line, BatteryVoltageLine(c.tenths)) << c.tenths;
}

TEST(ControlOptionsText, EachEmulationEventHasItsLineAndOtherCodesNone) {
  const struct {
    int code;
    int samplesSent;
    const wchar_t* line;
  } cases[] = {
      {13, 0, L"Launch Time (s): 0"},
      {13, 10, L"Launch Time (s): 1"},
      {13, 250, L"Launch Time (s): 25"},
      {13, 9920, L"Launch Time (s): 992"},
      {13, 12345678, L"Launch Time (s): 1.23457e+006"},  // the exponent in three digits
      {14, 37, L"Launch detected."},
      {15, 60, L"Line A fired."},
      {16, 75, L"Line B fired."},
      {17, 60, L"Apogee detected."},
      {19, 300, L"Device indicates end of launch."},
      {5, 12, L""},
      {0, 12, L""},
      {18, 12, L""},
      {20, 12, L""},
      {13 + 256, 10, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.line, EmulationEventLine(c.code, c.samplesSent)) << c.code;
}

template <typename CharT>
class DecimalComma : public std::numpunct<CharT> {
 protected:
  CharT do_decimal_point() const override { return static_cast<CharT>(','); }
};

// A locale that writes 9,4: a named one where the machine has it, else the
// classic one with a decimal comma.
std::locale DecimalCommaLocale() {
  try {
    return std::locale("de_DE.UTF-8");
  } catch (const std::runtime_error&) {
    return std::locale(std::locale(std::locale::classic(), new DecimalComma<char>), new DecimalComma<wchar_t>);
  }
}

// A locale set for the whole process must not reach the readings' numbers.
class ControlOptionsTextUnderAUsersLocale : public testing::Test {
 protected:
  ControlOptionsTextUnderAUsersLocale() : previous_(std::locale::global(DecimalCommaLocale())) {}
  ~ControlOptionsTextUnderAUsersLocale() override { std::locale::global(previous_); }

 private:
  const std::locale previous_;
};

TEST_F(ControlOptionsTextUnderAUsersLocale, ReadingsKeepTheProgramsNumberText) {
  EXPECT_EQ(L"Current Voltage: 9.4 Volts", BatteryVoltageLine(94));
  EXPECT_EQ(L"Current Voltage: 4.08203 Volts", PressureReadingLines(836, 0).at(1));
  EXPECT_EQ(L"Launch Time (s): 2.5", EmulationEventLine(13, 25));
}

DeviceSettings RecordWithOffset(int32_t offset) {
  DeviceSettings record;
  record.adcOffset = offset;
  record.Build();
  return record;
}

TEST(ControlOptionsText, AStoredOffsetIsTrustedOnlyWithItsChecksum) {
  const struct {
    int32_t stored;
    bool damaged;
    int32_t used;
  } cases[] = {
      {3, false, 3},
      {-128, false, -128},
      {127, false, 127},
      {3, true, 0},
      {-50, true, 0},
  };
  for (const auto& c : cases) {
    DeviceSettings record = RecordWithOffset(c.stored);
    if (c.damaged) record.image[15] ^= 0x01;
    EXPECT_EQ(c.used, StoredAdcOffset(record)) << c.stored << " damaged " << c.damaged;
  }
}

}  // namespace
