#include "sim/FlightModel.h"

#include <algorithm>
#include <cmath>
#include <deque>

#include "data/LineFlags.h"
#include "sim/PressureSensor.h"

namespace {

constexpr double kGravity = 9.80665;
constexpr double kSeaLevelDensity = 1.225;    // kg/m^3
constexpr double kAtmosphereScale = 44330.321;  // m, as in the sensor conversion
constexpr double kDensityExponent = 4.2559;
constexpr double kStepS = 0.001;
constexpr int kStepsPerSample = 100;
constexpr double kSampleS = kStepS * kStepsPerSample;
constexpr size_t kSamplesBeforeLaunch = 20;
constexpr int kSamplesAfterLanding = 30;
constexpr int kMostSamples = 20 * 60 * 10;  // a flight that never ends is cut after 20 minutes

// The rocket's height above the launch site and its vertical speed.
class Rocket {
 public:
  explicit Rocket(const FlightParameters& parameters) : p_(parameters) {}

  // Advances by one integration step.
  void Step() {
    time_ += kStepS;
    const double burning = time_ - p_.padTimeS;
    if (burning < 0.0 || landed_) return;
    velocity_ += Acceleration(burning) * kStepS;
    if (height_ <= 0.0 && velocity_ < 0.0 && !pastApogee_) velocity_ = 0.0;  // still resting on the pad
    height_ += velocity_ * kStepS;
    if (!pastApogee_ && height_ > 0.0 && velocity_ < 0.0) pastApogee_ = true;
    if (height_ > apogee_) {
      apogee_ = height_;
      apogeeTime_ = time_;
    }
    if (velocity_ > topSpeed_) {
      topSpeed_ = velocity_;
      topSpeedTime_ = time_;
    }
    if (pastApogee_ && height_ <= 0.0) {
      height_ = 0.0;
      velocity_ = 0.0;
      landed_ = true;
      landingTime_ = time_;
    }
  }

  // The main opens: from now on the rocket settles at the main's rate.
  void OpenMain() {
    if (p_.mainDescentRateMs > 0.0) mainOpen_ = true;
  }

  double Height() const { return height_; }
  double Apogee() const { return apogee_; }
  double ApogeeTime() const { return apogeeTime_; }
  double TopSpeed() const { return topSpeed_; }
  double TopSpeedTime() const { return topSpeedTime_; }
  bool Landed() const { return landed_; }
  double LandingTime() const { return landingTime_; }

 private:
  double Acceleration(double burning) const {
    if (pastApogee_) {
      // Under the parachute the drag balances gravity at the descent rate.
      const double rate = mainOpen_ ? p_.mainDescentRateMs : p_.descentRateMs;
      return -kGravity + kGravity * velocity_ * velocity_ / (rate * rate);
    }
    const double second = burning - p_.burnTimeS - p_.stageGapS;  // into the second stage's burn
    const double thrust = burning < p_.burnTimeS                           ? p_.thrustN
                          : second >= 0.0 && second < p_.secondBurnTimeS ? p_.secondThrustN
                                                                           : 0.0;
    const double mass = p_.liftoffMassKg - p_.propellantMassKg * BurntShare(burning, p_.burnTimeS) -
                        p_.secondPropellantMassKg * BurntShare(second, p_.secondBurnTimeS);
    const double drag = 0.5 * AirDensity() * p_.dragAreaM2 * velocity_ * std::fabs(velocity_);
    return (thrust - drag) / mass - kGravity;
  }

  static double BurntShare(double burning, double burnTimeS) {
    return burnTimeS > 0.0 ? std::clamp(burning / burnTimeS, 0.0, 1.0) : 0.0;
  }

  double AirDensity() const {
    const double base = std::max(0.0, 1.0 - (p_.groundAltitudeM + height_) / kAtmosphereScale);
    return kSeaLevelDensity * std::pow(base, kDensityExponent);
  }

  const FlightParameters& p_;
  double time_ = 0.0;
  double height_ = 0.0;
  double velocity_ = 0.0;
  double apogee_ = 0.0;
  double apogeeTime_ = 0.0;
  double topSpeed_ = 0.0;
  double topSpeedTime_ = 0.0;
  double landingTime_ = 0.0;
  bool pastApogee_ = false;
  bool mainOpen_ = false;
  bool landed_ = false;
};

void NoteEvents(const FlightEvents& events, int sample, RecordedFlight& flight) {
  if (events.apogee) flight.apogeeSample = sample;
  if (events.lineAFired) flight.lineASample = sample;
  if (events.lineBFired) flight.lineBSample = sample;
  if (events.landed) flight.landingSample = sample;
}

}  // namespace

std::vector<DataPacket> PacketsOfSet(const std::vector<uint16_t>& words) {
  std::vector<DataPacket> packets;
  for (size_t i = 0; i < words.size(); ++i) {
    const int k = static_cast<int>(i % kWordsPerPacket);
    if (k == 0) {
      packets.push_back(DataPacket::MakeEmpty());
      packets.back().kind = packets.size() == 1 ? kStartPacketKind : 1;
    }
    packets.back().SetWord(k, words[i]);
  }
  return packets;
}

RecordedFlight RecordFlight(const FlightParameters& parameters) {
  RecordedFlight flight;
  Rocket rocket(parameters);
  PressureSensor sensor(parameters.noiseCounts, parameters.sensorErrorCounts, parameters.seed);
  FlightComputer computer(parameters.rules);
  // Counts fall as altitude rises: past its range the sensor's output stays put.
  const auto topCount = static_cast<int32_t>(std::floor(PressureSensor::IdealCount(parameters.sensorTopM)));
  const int resetSample = parameters.resetAtS > 0.0 ? static_cast<int>((parameters.padTimeS + parameters.resetAtS) / kSampleS) : 0;
  std::deque<uint16_t> beforeLaunch;
  std::deque<double> heightsBeforeLaunch;  // the rocket's, at those samples
  int firstSample = 0;  // of the set, counted from the start of the simulation
  int afterLanding = 0;
  for (int sample = 0; sample < kMostSamples; ++sample) {
    for (int step = 0; step < kStepsPerSample; ++step) rocket.Step();
    const int32_t adc = std::max(sensor.Read(parameters.groundAltitudeM + rocket.Height()), topCount);
    if (sample < resetSample) continue;
    const FlightEvents events = computer.Step(adc);
    if (computer.LineFlags() & kLineBFlag) rocket.OpenMain();
    const uint16_t word = MakeSampleWord(adc, computer.LineFlags());
    if (!computer.Launched()) {
      beforeLaunch.push_back(word);
      heightsBeforeLaunch.push_back(rocket.Height());
      if (beforeLaunch.size() > kSamplesBeforeLaunch) {
        beforeLaunch.pop_front();
        heightsBeforeLaunch.pop_front();
      }
      continue;
    }
    if (events.launch) {
      flight.words.assign(beforeLaunch.begin(), beforeLaunch.end());
      firstSample = sample - static_cast<int>(beforeLaunch.size());
      flight.startHeightM = heightsBeforeLaunch.empty() ? rocket.Height() : heightsBeforeLaunch.front();
      flight.launchSample = static_cast<int>(flight.words.size());
    }
    NoteEvents(events, static_cast<int>(flight.words.size()), flight);
    flight.words.push_back(word);
    if (flight.words.size() >= parameters.rules.maxReadings) break;
    if (computer.Landed() && ++afterLanding > kSamplesAfterLanding) break;
  }
  if (flight.launchSample < 0) return flight;
  flight.packets = PacketsOfSet(flight.words);
  // Sample i of the simulation is taken at (i + 1) * kSampleS.
  const double setStart = (firstSample + 1) * kSampleS;
  flight.apogeeMetres = rocket.Apogee();
  flight.apogeeTimeS = rocket.ApogeeTime() - setStart;
  flight.launchTimeS = parameters.padTimeS - setStart;
  flight.burnOutTimeS = parameters.padTimeS + parameters.burnTimeS - setStart;
  if (parameters.secondBurnTimeS > 0.0) flight.burnOutTimeS += parameters.stageGapS + parameters.secondBurnTimeS;
  flight.topSpeedMs = rocket.TopSpeed();
  flight.topSpeedTimeS = rocket.TopSpeedTime() - setStart;
  flight.landingTimeS = rocket.Landed() ? rocket.LandingTime() - setStart : -1.0;
  return flight;
}
