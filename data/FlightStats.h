#pragma once
// The statistics of one flight, from the series of its data set: what a
// logbook records (apogee, speeds, the lines' firings, descent rates, flight
// time), each present only when the samples show it. Times are seconds from
// the set's first sample, as the graph and the exports count them; altitudes
// are metres above the launch pad; speeds m/s; every value in SI units (see
// data/FlightStatRows.h to show them in either unit system).
//
// The definitions, chosen to hold against the sensor's 9 m steps and noise:
// - the pad, launch, burn-out, top speed, acceleration and apogee come from
//   the physical climb fitted to every sample from the pad to the top
//   (data/AscentFit.h); the top speed is the burn-out speed, the acceleration
//   the boost's at lift-off, before the air drags, and only for a boost of
//   three samples (0.3 s) or more;
// - a line's firing is the first sample that carries its flag; its altitude
//   the mean of the 11 samples around it;
// - a line that fires after the apogee, less than 40 m below it, fired for the
//   apogee; one that fires lower starts a new stage of the descent;
// - the descent is measured from 2 s after the apogee (or after its firings)
//   to the next firing, and the final descent from 2 s after the last firing
//   to 1 s before the landing (or the end of the set); each is the slope of
//   the line fitted to the samples of that window, given with its standard
//   error, and only over a window of 2 s or more;
// - the landing is where a line coming down meets a level stretch that lasts
//   to the end of the set, fitted to the samples from 2 s after the last
//   firing; it counts when the level lasts 1 s or more and fits 16 times the
//   scatter better than a single line (else the set ended in the air).
#include <cstdint>
#include <optional>

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

struct FlightStats {
  int32_t samples = 0;
  double durationS = 0.0;
  // The pad's level above the set's first sample, m: a chart of altitude
  // above the pad subtracts it from the set's altitudes.
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

  // From the launch to the landing, when both are known.
  std::optional<double> FlightTimeS() const;
};

// The statistics of `set`'s samples; any length, an empty set included.
FlightStats ComputeFlightStats(const DataSet& set);
