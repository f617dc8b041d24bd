#include "data/SensorConverter.h"

#include <algorithm>
#include <cmath>

#include "data/Truncate.h"

namespace {

constexpr double kSupplyVolts = 5.0;
constexpr double kAdcFullScale = 1024.0;
// Ratiometric transfer of the sensor: Vout = Vs * (kSlope * P - kIntercept).
constexpr double kSlope = 0.009;
constexpr double kIntercept = 0.095;
// Standard atmosphere: sea-level pressure, exponent and height scale.
constexpr double kSeaLevelKpa = 101.325;
constexpr double kExponent = 0.190263;
constexpr double kScaleMetres = 44330.321;

}  // namespace

double SensorConverter::Voltage(double adc) const { return (adc + offset) * kSupplyVolts / kAdcFullScale; }

double SensorConverter::Pressure(double adc) const {
  return (Voltage(adc) / kSupplyVolts + kIntercept) / kSlope;
}

double SensorConverter::Altitude(double adc) const {
  const double kpa = std::max(Pressure(adc), 0.0);
  return (1.0 - std::pow(kpa / kSeaLevelKpa, kExponent)) * kScaleMetres;
}

int32_t SensorConverter::AdcForAltitude(double metres) const {
  const double base = 1.0 - metres / kScaleMetres;
  // pow of a negative base has no real result; "> 0" also sends NaN to 0 kPa.
  const double kpa = base > 0.0 ? kSeaLevelKpa * std::pow(base, 1.0 / kExponent) : 0.0;
  const double volts = (kSlope * kpa - kIntercept) * kSupplyVolts;
  return TruncateToInt32(volts * kAdcFullScale / kSupplyVolts);
}
