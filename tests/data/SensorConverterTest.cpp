#include "data/SensorConverter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(SensorConverter, ConvertsCountsToVoltsPressureAndAltitude) {
  const struct {
    double adc, volts, kpa, metres;
  } cases[] = {
      {0, 0.0, 10.5556, 15502.1},
      {512, 2.5, 66.1111, 3459.05},
      {836, 4.08203, 101.267, 4.79904},
      {837, 4.08691, 101.376, -4.23346},
  };
  const SensorConverter converter;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.adc);  // six significant digits, as the program prints them
    EXPECT_NEAR(c.volts, converter.Voltage(c.adc), c.volts * 5e-6);
    EXPECT_NEAR(c.kpa, converter.Pressure(c.adc), c.kpa * 5e-6);
    EXPECT_NEAR(c.metres, converter.Altitude(c.adc), std::fabs(c.metres) * 5e-6);
  }
  SensorConverter calibrated;
  calibrated.SetOffset(3);
  EXPECT_DOUBLE_EQ(converter.Altitude(836), calibrated.Altitude(833));
}

TEST(SensorConverter, AReadingBelowTheSensorsZeroIsTheTopOfTheAtmosphere) {
  SensorConverter converter;
  converter.SetOffset(-100);
  EXPECT_LT(converter.Pressure(0), 0.0);  // the formula's own value, as exported
  EXPECT_DOUBLE_EQ(44330.321, converter.Altitude(0));
  EXPECT_DOUBLE_EQ(44330.321, converter.Altitude(-1000));
  EXPECT_LT(converter.Altitude(98), 44330.321);  // 98 - 100 counts still reads above 0 kPa
}

TEST(SensorConverter, AdcForAltitudeInvertsAltitudeWithoutOffset) {
  const struct {
    double metres;
    int32_t adc;
  } cases[] = {
      {0, 836}, {100, 825}, {1000, 731},
      // No pressure is left at or above the model's top: the count for 0 kPa.
      {44330.321, -97}, {50000, -97}, {std::nan(""), -97},
      {-1e12, std::numeric_limits<int32_t>::max()},
  };
  SensorConverter converter;
  converter.SetOffset(40);  // must not enter the result
  for (const auto& c : cases) EXPECT_EQ(c.adc, converter.AdcForAltitude(c.metres)) << c.metres;
}

}  // namespace
