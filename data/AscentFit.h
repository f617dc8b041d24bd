#pragma once
// The climb of a model rocket as its physics shape it, fitted to the altitude
// samples of a set: the rocket rests on the pad until the launch; the motor
// then gives a constant net acceleration, less an air drag that grows with
// the square of the speed, until burn-out; from there it coasts up against
// gravity and the same drag to the apogee. Every phase has a closed form, so
// the fit needs only the launch, the burn-out, the acceleration and the drag:
// the pad's level follows by least squares, and the burn-out speed, the
// apogee and its time follow from the four.
//
// Fitting the whole climb at once lets every sample count: the long coast
// pins the drag and the apogee well below the sensor's 9 m steps, the boost
// and the pad pin the launch, and the burn-out is where the two meet.
#include <cstddef>
#include <optional>
#include <vector>

class Ascent {
 public:
  Ascent(double launchS, double burnOutS, double acceleration, double drag);

  double LaunchS() const { return launchS_; }
  double BurnOutS() const { return burnOutS_; }
  double Acceleration() const { return acceleration_; }  // m/s^2, at lift-off: thrust per mass less gravity
  double Drag() const { return drag_; }                  // 1/m: deceleration per squared speed
  double BurnOutSpeed() const { return burnOutSpeed_; }  // m/s, the highest of the flight
  double ApogeeS() const { return apogeeS_; }
  double ApogeeHeight() const { return apogeeHeight_; }  // m above the pad

  // Height above the pad at `t` s: 0 before the launch, and after the apogee a
  // fall against the same drag.
  double HeightAt(double t) const;

 private:
  double launchS_, burnOutS_, acceleration_, drag_;
  double burnOutHeight_, burnOutSpeed_, apogeeS_, apogeeHeight_;
};

// The standard errors of the fitted values, from the fit's scatter.
struct AscentErrors {
  double launchS = 0.0;
  double burnOutS = 0.0;
  double burnOutSpeed = 0.0;
  double acceleration = 0.0;
  double apogeeHeight = 0.0;
  double apogeeS = 0.0;
};

struct AscentFit {
  Ascent ascent;
  double padLevel;         // the pad in the series' own frame, m
  size_t lastSample = 0;   // the fit ran over samples 0..lastSample
  double rmsResidual = 0.0;  // m, the samples' scatter about the fitted climb
  AscentErrors errors;
};

// The ascent that best fits `altitude` (metres, sample i at 0.1 * i s) from
// its first sample, on the pad, to the apogee, which lies near sample `peak`.
// Empty when no climb fits (no finite result). Samples past `peak` count only
// up to the fitted apogee, so a series cut short of its top is fitted as cut.
std::optional<AscentFit> FitAscent(const std::vector<double>& altitude, size_t peak);
