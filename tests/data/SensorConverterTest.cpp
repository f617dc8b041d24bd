#include "data/SensorConverter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data/Truncate.h"

namespace {

// Equal to six significant digits, as the program prints them.
void ExpectSixDigits(double expected, double actual) {
  EXPECT_NEAR(expected, actual, std::fabs(expected) * 5e-6 + 1e-9);
}

TEST(SensorConverter, ConvertsCountsToVoltsPressureAndAltitude) {
  struct Case {
    double adc;
    double volts;
    double kpa;
    double metres;
  };
  const Case cases[] = {
      {0, 0.0, 10.5556, 15502.1},
      {512, 2.5, 66.1111, 3459.05},
      {836, 4.08203, 101.267, 4.79904},
      {837, 4.08691, 101.376, -4.23346},
  };
  const SensorConverter converter;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.adc);
    ExpectSixDigits(c.volts, converter.Voltage(c.adc));
    ExpectSixDigits(c.kpa, converter.Pressure(c.adc));
    ExpectSixDigits(c.metres, converter.Altitude(c.adc));
  }
}

TEST(SensorConverter, OffsetShiftsTheCount) {
  SensorConverter calibrated;
  calibrated.SetOffset(3);
  const SensorConverter plain;
  EXPECT_DOUBLE_EQ(plain.Voltage(836), calibrated.Voltage(833));
  EXPECT_DOUBLE_EQ(plain.Pressure(836), calibrated.Pressure(833));
  EXPECT_DOUBLE_EQ(plain.Altitude(836), calibrated.Altitude(833));
}

TEST(SensorConverter, AdcForAltitudeInvertsAltitudeWithoutOffset) {
  struct Case {
    double metres;
    int32_t adc;
  };
  const Case cases[] = {
      {0, 836},
      {100, 825},
      {1000, 731},
      {-1000, 952},
      // No pressure is left at or above the model's top: the count for 0 kPa.
      {44330.321, -97},
      {50000, -97},
      {std::numeric_limits<double>::infinity(), -97},
      {std::numeric_limits<double>::quiet_NaN(), -97},
      {-1e12, std::numeric_limits<int32_t>::max()},
  };
  SensorConverter converter;
  converter.SetOffset(40);  // must not enter the result
  for (const Case& c : cases) {
    SCOPED_TRACE(c.metres);
    EXPECT_EQ(c.adc, converter.AdcForAltitude(c.metres));
  }
}

TEST(SensorConverter, MeasuredCountGivesCalibrationOffset) {
  const SensorConverter converter;
  EXPECT_EQ(-4, converter.AdcForAltitude(0) - 840);
}

TEST(TruncateToInt32, TruncatesTowardZeroAndSaturates) {
  struct Case {
    double value;
    int32_t expected;
  };
  const Case cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {2147483647.5, 2147483647},
      {1e300, std::numeric_limits<int32_t>::max()},
      {-2147483648.9, std::numeric_limits<int32_t>::min()},
      {-std::numeric_limits<double>::infinity(), std::numeric_limits<int32_t>::min()},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(c.expected, TruncateToInt32(c.value));
  }
}

}  // namespace
