#pragma once
// A flight for file and export tests, from the simulated altimeter's flight
// model: to about 1360 m and down under a slow parachute, recorded up to
// `maxReadings` samples (3968 fill the whole memory, 128 packets, while still
// coming down), with Line A firing at apogee and Line B at 700 m on the way down.
#include <cstdint>

#include "sim/FlightModel.h"

inline RecordedFlight ModelledFlight(uint16_t maxReadings) {
  FlightParameters flight;
  flight.thrustN = 60.0;
  flight.burnTimeS = 2.5;
  flight.descentRateMs = 2.0;
  flight.groundAltitudeM = 420.0;
  flight.seed = 3;
  flight.rules.lineBValue = 700;
  flight.rules.maxReadings = maxReadings;
  return RecordFlight(flight);
}
