#pragma once
// The statistics of one flight, from the series of its data set: what a
// logbook records (apogee, speeds, the lines' firings, descent rates, flight
// time), each present only when the samples show it. Times are seconds from
// the set's first sample, as the graph and the exports count them; altitudes
// are metres above the launch pad; speeds m/s; every value in SI units (see
// data/FlightStatRows.h to show them in either unit system).
//
// The definitions, chosen to hold against the sensor's 9 m steps and noise:
// - a set has a pad when its first second lies at rest; without one its
//   altitudes are measured from its first sample, as the graph does, and it
//   has no launch, burn-out, top speed, acceleration or flight time;
// - the pad, launch, burn-out, top speed, acceleration and apogee come from
//   the physical climb fitted to every sample from the pad to the top
//   (data/AscentFit.h), each with its standard error from the fit; the top
//   speed is the burn-out speed, the acceleration the boost's at lift-off;
// - a fit that misses its samples by more than their own scatter allows, or
//   whose launch lies where the samples still rest, is not a single-motor
//   climb: none of its values are given, and the apogee is the highest 1-s
//   mean of the samples; a value whose error is too large a share of it is
//   none (data/ClimbStats.h has the limits);
// - samples pinned at the sensor's limit at the top make the apogee a lower
//   bound (the pinned level), and no rate is measured over them;
// - a line's firing is the first sample that carries its flag; its altitude
//   the mean of the 11 samples around it;
// - a line that fires after the apogee, less than 40 m below it, fired for the
//   apogee; one that fires lower starts a new stage of the descent, unless the
//   rate does not change after it (a parachute that did not open: the stage
//   runs on through it);
// - each stage's rate is the slope of the line fitted to the samples from 2 s
//   after its start to its end (the next firing, or 1 s before the landing),
//   with its standard error, and only over a window of 2 s or more that ends
//   before the landing;
// - the landing is where a line coming down meets a level stretch that lasts
//   to the end of the set, searched from the last firing; it counts when the
//   level lasts 1 s or more and fits 16 times the scatter better than a single
//   line (else the set ended in the air).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "data/DataSet.h"

struct LineFiring {
  double timeS;
  double altitude;  // m above the pad
};

struct DescentRate {
  double rate;   // m/s, downward
  double error;  // m/s, standard error of `rate`
  double fromS;  // the window the rate is measured over
  double toS;
};

// The standard errors of the climb's values, m, s, m/s or m/s^2 (0 for a value that is none).
struct ClimbErrors {
  double launchS = 0.0;
  double burnOutS = 0.0;
  double topSpeed = 0.0;
  double acceleration = 0.0;
  double apogee = 0.0;
  double apogeeS = 0.0;
};

struct FlightStats {
  int32_t samples = 0;
  double durationS = 0.0;
  // The pad's level above the set's first sample, m (0 without a pad): a
  // chart of altitude above the pad subtracts it from the set's altitudes.
  double padLevel = 0.0;
  std::optional<double> launchS;
  std::optional<double> burnOutS;      // when the speed peaks
  std::optional<double> topSpeed;      // m/s, at burn-out
  std::optional<double> acceleration;  // m/s^2, the highest: the boost's at lift-off
  std::optional<double> apogee;        // m above the pad
  std::optional<double> apogeeS;
  std::optional<LineFiring> lineA;
  std::optional<LineFiring> lineB;
  std::optional<DescentRate> descent;       // from the apogee to the next firing
  std::optional<DescentRate> finalDescent;  // from the last firing to the landing
  std::optional<double> landingS;
  ClimbErrors errors;
  bool apogeeAtLeast = false;    // the sensor was pinned at the top: the apogee is a lower bound
  bool fromFirstSample = false;  // no pad: altitudes are above the set's first sample
  // Why values are none, or what they mean, in the user's words:
  // "not a single-motor climb (...)", "no change of rate after line B".
  std::vector<std::string> notes;

  // From the launch to the landing, when both are known.
  std::optional<double> FlightTimeS() const;
};

// The statistics of `set`'s samples; any length, an empty set included.
FlightStats ComputeFlightStats(const DataSet& set);
