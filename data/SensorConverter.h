#pragma once
// The pressure sensor's conversions: a 10-bit ADC count on a 5 V scale to
// volts, kilopascals and metres of the standard atmosphere, and back.
#include <cstdint>

class SensorConverter {
 public:
  // Calibration offset in ADC counts, added to every reading (not by AdcForAltitude).
  double offset = 0.0;

  void SetOffset(double counts) { offset = counts; }

  double Voltage(double adc) const;
  double Pressure(double adc) const;  // kPa
  // Metres above sea level. A reading below the sensor's zero (a negative
  // pressure) counts as 0 kPa, the top of the model atmosphere, so one bad
  // reading stays one bad sample instead of a NaN that the filters would spread.
  double Altitude(double adc) const;

  // The ADC count, without the offset, that reads as `metres`; the exact
  // inverse of Altitude before truncation toward zero. Altitudes at or above
  // the top of the model atmosphere (44330.321 m), where no pressure remains,
  // and NaN give the count for 0 kPa (-97); results beyond the int32 range saturate.
  int32_t AdcForAltitude(double metres) const;
};
