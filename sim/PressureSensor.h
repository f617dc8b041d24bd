#pragma once
// The altimeter's pressure sensor behind its 10-bit ADC: the count that an
// altitude reads as, through the exact inverse of the program's sensor
// conversion, with the sensor's own constant error and its noise, quantised.
// The noise is drawn from a seeded generator, so a reading sequence repeats
// exactly for the same seed on every platform.
#include <cstdint>
#include <random>

class PressureSensor {
 public:
  // noiseCounts: standard deviation of the noise in ADC counts (0: a steady
  // reading). errorCounts: a constant error added to every count, the kind of
  // error a calibration takes out.
  explicit PressureSensor(double noiseCounts = 0.0, int32_t errorCounts = 0, uint32_t seed = 1);

  // The raw count, 0 to 1023, for `altitudeMsl` metres above sea level.
  int32_t Read(double altitudeMsl);

  // The real-valued count an ideal sensor and ADC would give before quantising.
  static double IdealCount(double altitudeMsl);

 private:
  double Gaussian();

  double noiseCounts_;
  int32_t errorCounts_;
  std::mt19937 random_;
};
