#pragma once
// A small model of a model-rocket flight, recorded as the altimeter records
// it: one set of packets (a start packet and its continuations, 31 samples
// each, 10 samples per second), ready to be laid into a flight memory
// (sim/FlightMemory.h), downloaded from the simulated altimeter or written to
// a data set file.
//
// The flight: the rocket waits on the pad, the motor gives a constant thrust
// while its propellant burns away, air drag (density falling with altitude)
// and gravity slow it to apogee, and from apogee it comes down under its
// parachute, settling at the descent rate, until it lands and lies still.
// Its altitude is sampled every 0.1 s through the altimeter's pressure sensor
// (sim/PressureSensor.h: inverse sensor conversion, noise, quantising), and
// the altimeter's own flight logic (sim/FlightComputer.h) decides, sample by
// sample, when the set begins, where each line fires (the Line A and Line B
// flags of the samples) and when the flight ends.
//
// What is recorded: the 20 samples before the launch was detected, then every
// sample up to 3 s after the landing was detected, never more than
// rules.maxReadings samples. A rocket that never leaves the pad records nothing.
//
// Example, a set for a data file made by hand:
//   FlightParameters flight;
//   flight.thrustN = 30.0;
//   flight.groundAltitudeM = 420.0;
//   flight.seed = 7;
//   const RecordedFlight recorded = RecordFlight(flight);
//   link.packets = recorded.packets;  // one set; recorded.apogeeMetres is the truth
#include <cstdint>
#include <vector>

#include "data/DataPacket.h"
#include "sim/FlightComputer.h"

struct FlightParameters {
  double thrustN = 21.0;           // mean motor thrust
  double burnTimeS = 1.25;
  double liftoffMassKg = 0.25;     // motor included
  double propellantMassKg = 0.02;  // burnt away during the boost
  double dragAreaM2 = 0.0008;      // drag coefficient times frontal area, parachute closed
  double descentRateMs = 5.5;      // under the parachute opened at apogee
  double mainDescentRateMs = 0.0;  // under the main, opened as Line B fires; 0: no main, the rate stays
  double groundAltitudeM = 150.0;  // of the launch site, above sea level
  double padTimeS = 5.0;           // on the pad, recording armed, before ignition
  // A second stage: its motor lights this long after the first burns out (0: a single motor).
  double stageGapS = 0.0;
  double secondThrustN = 0.0;
  double secondBurnTimeS = 0.0;
  double secondPropellantMassKg = 0.0;
  double resetAtS = 0.0;           // the altimeter starts afresh this long after ignition (a reset in flight)
  double sensorTopM = 1e9;         // above sea level: the sensor reads no higher (its range ends)
  double noiseCounts = 0.35;       // sensor noise, standard deviation in ADC counts
  int32_t sensorErrorCounts = 0;   // the sensor's constant error, in ADC counts
  uint32_t seed = 1;               // of the sensor noise
  FlightRules rules;               // the altimeter's settings; FlightRules::Of(settings) for a record
};

struct RecordedFlight {
  // The set: kind 2, then kind 1 packets; the last one padded with 0xFFFF
  // words. Empty when the altimeter saw no launch.
  std::vector<DataPacket> packets;
  std::vector<uint16_t> words;  // the same samples, in order

  // The truth of the flight: the highest point above the launch site, in metres,
  // and when it was reached, in seconds after the set's first sample.
  double apogeeMetres = 0.0;
  double apogeeTimeS = 0.0;
  // Likewise: when the motor lit (the lift-off) and burnt out, the highest
  // speed (m/s) and when it was reached, and when the rocket touched down
  // (-1 when it was still in the air as the recording ended).
  double launchTimeS = 0.0;
  double burnOutTimeS = 0.0;
  double topSpeedMs = 0.0;
  double topSpeedTimeS = 0.0;
  double landingTimeS = -1.0;
  double startHeightM = 0.0;  // above the launch site at the set's first sample (a reset in flight)

  // The sample of the set at which the altimeter decided each event; -1 for none.
  int launchSample = -1;
  int apogeeSample = -1;
  int lineASample = -1;
  int lineBSample = -1;
  int landingSample = -1;
};

RecordedFlight RecordFlight(const FlightParameters& parameters);

// Samples packed into one set of packets, as the altimeter stores them.
std::vector<DataPacket> PacketsOfSet(const std::vector<uint16_t>& words);

// A sample word: the line flags (2 Line A, 1 Line B) and a 10-bit ADC count.
constexpr uint16_t MakeSampleWord(int32_t adc, uint8_t lineFlags) {
  return static_cast<uint16_t>(((lineFlags & 3) << 14) | ((adc & 0x3FF) << 4));
}
