#pragma once
// The altimeter's flight logic, fed one raw pressure count every 0.1 s: it
// decides launch, apogee and landing and fires the two ejection lines by its
// settings. The same logic records the simulated flights and answers the
// launch emulation, so an emulated replay of a recorded flight fires where the
// recording shows the lines fired.
//
// How it decides (counts fall as altitude rises, about 9 m per count):
// - ground: on the pad, the mean of the 10 samples before the last second;
// - launch: two samples in a row at least 3 counts (about 27 m) below ground;
// - apogee: not before the inhibit time after launch; then as soon as the sum
//   of the last 5 samples is 5 counts above the lowest such sum of the flight
//   (the rocket is on average one count below its highest point). The slope
//   reported is the previous 5-sample sum minus the last one: negative, small;
// - Time line: at its time after launch, not before the inhibit time;
//   Apogee line: at apogee; Altitude line: after apogee, once the mean of the
//   last 5 samples is at or below its height above ground; Disabled: never.
//   A fired line is driven for 1 s (10 samples), which is what the recorded
//   line flags show;
// - landing: after apogee, once the mean of the last 20 samples is within
//   0.75 count of the mean of 20 samples 3 s earlier, and within 6 counts of
//   the ground (a hill or a tree far above the pad does not end the flight).
#include <array>
#include <cstdint>
#include <deque>

#include "data/SensorConverter.h"
#include "data/DeviceSettings.h"

// What the flight logic takes from the altimeter's settings.
struct FlightRules {
  LineMode lineAMode = LineMode::Apogee;
  uint16_t lineAValue = 150;
  LineMode lineBMode = LineMode::Altitude;
  uint16_t lineBValue = 150;
  uint16_t inhibitTime = 20;   // tenths of a second after launch
  uint16_t maxReadings = 992;  // most samples recorded for one flight
  int32_t adcOffset = 0;

  // From the fields of a settings record (the image need not be built).
  static FlightRules Of(const DeviceSettings& settings);
  // From a settings image as the device stores it; the checksum is not looked at.
  static FlightRules FromImage(const std::array<uint8_t, DeviceSettings::kImageSize>& image);
};

// What one sample made the logic decide.
struct FlightEvents {
  bool launch = false;
  bool apogee = false;
  int16_t slope = 0;  // with apogee
  bool lineAFired = false;
  bool lineBFired = false;
  bool landed = false;
};

class FlightComputer {
 public:
  explicit FlightComputer(const FlightRules& rules);

  FlightEvents Step(int32_t adc);

  // The lines driven at the last sample: 2 Line A, 1 Line B, as in a sample word.
  uint8_t LineFlags() const;
  bool Launched() const { return phase_ != Phase::Pad; }
  bool Landed() const { return phase_ == Phase::Landed; }

 private:
  enum class Phase { Pad, Ascent, Descent, Landed };
  struct Line {
    LineMode mode;
    uint16_t value;
    bool fired = false;
    int drivenFor = 0;  // samples left
  };

  void OnPad(int32_t adc, FlightEvents& events);
  void InFlight(FlightEvents& events);
  bool Inhibited() const;
  bool ApogeeReached(int16_t& slope) const;
  bool LineDue(const Line& line) const;
  bool LandingReached() const;
  void Fire(Line& line, bool& event);
  double MeanOfRecent(int count, int skip = 0) const;
  int SumOfRecent(int count, int skip = 0) const;
  double HeightAboveGround(double meanCount) const;

  FlightRules rules_;
  SensorConverter converter_;
  Phase phase_ = Phase::Pad;
  std::deque<int32_t> recent_;  // newest last
  double ground_ = 0.0;         // mean count on the pad
  double groundCandidate_ = 0.0;
  int samplesBelowGround_ = 0;
  int sinceLaunch_ = 0;  // samples
  int lowestSum_ = 0;
  Line lineA_;
  Line lineB_;
};
