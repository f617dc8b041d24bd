#include "sim/PressureSensor.h"

#include <algorithm>
#include <cmath>

#include "data/SensorConverter.h"

namespace {

constexpr int32_t kAdcMax = 1023;
constexpr double kTwoPi = 6.283185307179586;

}  // namespace

PressureSensor::PressureSensor(double noiseCounts, int32_t errorCounts, uint32_t seed)
    : noiseCounts_(noiseCounts), errorCounts_(errorCounts), random_(seed) {}

double PressureSensor::IdealCount(double altitudeMsl) {
  // AdcForAltitude truncates; the conversion is close to linear within one
  // count, so the fraction comes from the altitudes of the neighbouring counts.
  const SensorConverter converter;
  const int32_t below = converter.AdcForAltitude(altitudeMsl);
  const double high = converter.Altitude(below);
  const double low = converter.Altitude(below + 1.0);
  return below + (high - altitudeMsl) / (high - low);
}

int32_t PressureSensor::Read(double altitudeMsl) {
  double count = IdealCount(altitudeMsl) + (noiseCounts_ > 0.0 ? noiseCounts_ * Gaussian() : 0.0);
  // Out of the sensor's range (NaN beyond the top of the atmosphere) the ADC saturates.
  count = count > 0.0 ? std::min(count, kAdcMax + 1.0) : 0.0;
  const auto quantised = static_cast<int32_t>(std::floor(count)) + errorCounts_;
  return std::clamp(quantised, int32_t{0}, kAdcMax);
}

// Box-Muller on the generator's raw words: std::normal_distribution is free to
// differ between standard libraries, the raw words of mt19937 are not.
double PressureSensor::Gaussian() {
  const double u1 = (static_cast<double>(random_()) + 1.0) / 4294967297.0;  // never 0
  const double u2 = static_cast<double>(random_()) / 4294967296.0;
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(kTwoPi * u2);
}
