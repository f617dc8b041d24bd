#include "sim/FlightComputer.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kGroundSamples = 10;
constexpr int kGroundLag = 10;  // a fast climb does not drag the ground up with it
constexpr int kLaunchDropCounts = 3;
constexpr int kLaunchSamples = 2;
constexpr int kApogeeWindow = 5;
constexpr int kApogeeRiseCounts = 5;  // on the 5-sample sum
constexpr int kLandingWindow = 20;
constexpr int kLandingLag = 30;  // samples between the two landing windows
constexpr double kLandingSteadyCounts = 0.75;
constexpr double kLandingNearGroundCounts = 6.0;
constexpr int kFiringSamples = 10;
constexpr size_t kKeptSamples = kLandingWindow + kLandingLag;

uint16_t ImageWord(const std::array<uint8_t, DeviceSettings::kImageSize>& image, size_t offset) {
  return static_cast<uint16_t>(image[offset] | (image[offset + 1] << 8));
}

}  // namespace

FlightRules FlightRules::Of(const DeviceSettings& settings) {
  FlightRules rules;
  rules.lineAMode = settings.lineAMode;
  rules.lineAValue = settings.lineAValue;
  rules.lineBMode = settings.lineBMode;
  rules.lineBValue = settings.lineBValue;
  rules.inhibitTime = settings.inhibitTime;
  rules.maxReadings = settings.maxReadings;
  rules.adcOffset = settings.adcOffset;
  return rules;
}

FlightRules FlightRules::FromImage(const std::array<uint8_t, DeviceSettings::kImageSize>& image) {
  FlightRules rules;
  rules.maxReadings = ImageWord(image, 0);
  rules.inhibitTime = ImageWord(image, 5);
  rules.adcOffset = static_cast<int8_t>(image[8]);
  rules.lineAMode = static_cast<LineMode>(image[9] & 0x0F);
  rules.lineBMode = static_cast<LineMode>(image[9] >> 4);
  rules.lineAValue = ImageWord(image, 10);
  rules.lineBValue = ImageWord(image, 12);
  return rules;
}

FlightComputer::FlightComputer(const FlightRules& rules)
    : rules_(rules), lineA_{rules.lineAMode, rules.lineAValue}, lineB_{rules.lineBMode, rules.lineBValue} {
  converter_.SetOffset(rules.adcOffset);
}

uint8_t FlightComputer::LineFlags() const {
  return static_cast<uint8_t>((lineA_.drivenFor > 0 ? 2 : 0) | (lineB_.drivenFor > 0 ? 1 : 0));
}

FlightEvents FlightComputer::Step(int32_t adc) {
  FlightEvents events;
  recent_.push_back(adc);
  if (recent_.size() > kKeptSamples) recent_.pop_front();
  for (Line* line : {&lineA_, &lineB_}) line->drivenFor = std::max(0, line->drivenFor - 1);
  if (phase_ == Phase::Pad) {
    OnPad(adc, events);
  } else if (phase_ != Phase::Landed) {
    ++sinceLaunch_;
    InFlight(events);
  }
  return events;
}

void FlightComputer::OnPad(int32_t adc, FlightEvents& events) {
  if (recent_.size() < kGroundSamples + kGroundLag) return;  // no ground yet
  const double ground = MeanOfRecent(kGroundSamples, kGroundLag);
  if (adc > ground - kLaunchDropCounts) {
    samplesBelowGround_ = 0;
    return;
  }
  // The ground is taken from before the first sample of the climb.
  if (samplesBelowGround_++ == 0) groundCandidate_ = ground;
  if (samplesBelowGround_ < kLaunchSamples) return;
  phase_ = Phase::Ascent;
  ground_ = groundCandidate_;
  lowestSum_ = SumOfRecent(kApogeeWindow);
  events.launch = true;
}

void FlightComputer::InFlight(FlightEvents& events) {
  lowestSum_ = std::min(lowestSum_, SumOfRecent(kApogeeWindow));
  if (phase_ == Phase::Ascent && !Inhibited() && ApogeeReached(events.slope)) {
    phase_ = Phase::Descent;
    events.apogee = true;
  }
  if (LineDue(lineA_)) Fire(lineA_, events.lineAFired);
  if (LineDue(lineB_)) Fire(lineB_, events.lineBFired);
  if (phase_ == Phase::Descent && LandingReached()) {
    phase_ = Phase::Landed;
    events.landed = true;
  }
}

bool FlightComputer::Inhibited() const { return sinceLaunch_ < rules_.inhibitTime; }

bool FlightComputer::LineDue(const Line& line) const {
  if (line.fired) return false;
  switch (line.mode) {
    case LineMode::Time:
      return !Inhibited() && sinceLaunch_ >= line.value;
    case LineMode::Apogee:
      return phase_ == Phase::Descent;
    case LineMode::Altitude:
      return phase_ == Phase::Descent && HeightAboveGround(MeanOfRecent(kApogeeWindow)) <= line.value;
    default:
      return false;
  }
}

bool FlightComputer::ApogeeReached(int16_t& slope) const {
  if (recent_.size() < 2 * kApogeeWindow) return false;
  const int recentSum = SumOfRecent(kApogeeWindow);
  if (recentSum < lowestSum_ + kApogeeRiseCounts) return false;
  slope = static_cast<int16_t>(SumOfRecent(kApogeeWindow, kApogeeWindow) - recentSum);
  return true;
}

bool FlightComputer::LandingReached() const {
  if (recent_.size() < kKeptSamples) return false;
  const double now = MeanOfRecent(kLandingWindow);
  const double earlier = MeanOfRecent(kLandingWindow, kLandingLag);
  return std::fabs(now - earlier) < kLandingSteadyCounts && now >= ground_ - kLandingNearGroundCounts;
}

void FlightComputer::Fire(Line& line, bool& event) {
  line.fired = true;
  line.drivenFor = kFiringSamples;
  event = true;
}

double FlightComputer::MeanOfRecent(int count, int skip) const {
  return static_cast<double>(SumOfRecent(count, skip)) / count;
}

int FlightComputer::SumOfRecent(int count, int skip) const {
  const auto end = recent_.end() - skip;
  int sum = 0;
  for (auto it = end - count; it != end; ++it) sum += *it;
  return sum;
}

double FlightComputer::HeightAboveGround(double meanCount) const {
  return converter_.Altitude(meanCount) - converter_.Altitude(ground_);
}
