#include "data/FlightStats.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "data/AscentFit.h"
#include "data/LineFits.h"
#include "data/LineFlags.h"
#include "data/SampleTime.h"

namespace {

constexpr size_t kMeanHalfWindow = 5;       // 11 samples, 1 s
constexpr double kLeastClimbM = 20.0;       // about two sensor steps above the pad
constexpr size_t kLeastSamplesAround = 10;  // 1 s of climb before the top, 1 s of recording after it
constexpr double kFitAgreementM = 20.0;     // how far the fitted apogee may lie from the samples' top...
constexpr double kFitAgreementShare = 0.1;  // ...or this share of the climb, whichever is more
constexpr double kFitAgreementS = 3.0;
constexpr double kShortestBoostS = 0.3;  // three samples: a shorter one shows no acceleration
constexpr double kApogeeFiringDropM = 40.0;
constexpr double kSettleS = 2.0;  // for a parachute to open and the speed to settle
constexpr double kBeforeLandingS = 1.0;
constexpr double kShortestWindowS = 2.0;
constexpr double kShortestRestS = 1.0;
constexpr double kRestSignificance = 16.0;  // the residual's gain, in residual variances

size_t SampleAtOrAfter(double seconds) {
  return seconds <= 0.0 ? 0 : static_cast<size_t>(std::ceil(seconds / kSecondsPerSample - 1e-9));
}

size_t SampleAtOrBefore(double seconds) {
  return seconds <= 0.0 ? 0 : static_cast<size_t>(std::floor(seconds / kSecondsPerSample + 1e-9));
}

// The index of the highest 1-s mean of the altitude.
size_t PeakOfMeans(const std::vector<double>& altitude) {
  size_t peak = 0;
  double highest = CentredMean(altitude, 0, kMeanHalfWindow);
  for (size_t i = 1; i < altitude.size(); ++i) {
    const double mean = CentredMean(altitude, i, kMeanHalfWindow);
    if (mean > highest) {
      highest = mean;
      peak = i;
    }
  }
  return peak;
}

std::optional<size_t> FirstSampleWith(const DataSet& set, bool (*fired)(uint8_t)) {
  for (size_t i = 0; i < set.lineFlags.size(); ++i) {
    if (fired(set.lineFlags[i])) return i;
  }
  return std::nullopt;
}

class StatsBuilder {
 public:
  explicit StatsBuilder(const DataSet& set) : set_(set), altitude_(set.altitudeAgl) {
    stats_.samples = set.SampleCount();
    stats_.durationS = TimeOfSample(altitude_.size());
    if (altitude_.empty()) return;
    pad_ = CentredMean(altitude_, 0, kMeanHalfWindow);
    FindClimb();
    stats_.padLevel = pad_;
    stats_.lineA = Firing(HasLineA);
    stats_.lineB = Firing(HasLineB);
    if (stats_.apogeeS) MeasureDescent();
  }

  const FlightStats& Stats() const { return stats_; }

 private:
  void FindClimb() {
    const size_t peak = PeakOfMeans(altitude_);
    const double top = CentredMean(altitude_, peak, kMeanHalfWindow);
    if (top - pad_ < kLeastClimbM || peak < kLeastSamplesAround || peak + kLeastSamplesAround >= altitude_.size()) {
      return;
    }
    const std::optional<AscentFit> fit = FitAscent(altitude_, peak);
    if (fit && Agrees(fit->ascent, fit->padLevel, top, peak)) {
      TakeAscent(fit->ascent, fit->padLevel);
    } else {
      stats_.apogee = top - pad_;
      stats_.apogeeS = TimeOfSample(peak);
    }
  }

  // Whether the fitted climb ends where the samples' top lies, and its events
  // come in their order: a fit that wandered is no better than the samples.
  bool Agrees(const Ascent& ascent, double padLevel, double top, size_t peak) const {
    const double topHeight = ascent.ApogeeHeight() + padLevel;
    const double allowed = std::max(kFitAgreementM, kFitAgreementShare * (top - padLevel));
    return std::fabs(topHeight - top) <= allowed &&
           std::fabs(ascent.ApogeeS() - TimeOfSample(peak)) <= kFitAgreementS && ascent.LaunchS() > -kFitAgreementS &&
           ascent.LaunchS() < ascent.BurnOutS() && ascent.BurnOutS() < ascent.ApogeeS();
  }

  void TakeAscent(const Ascent& ascent, double padLevel) {
    pad_ = padLevel;
    stats_.launchS = ascent.LaunchS();
    stats_.burnOutS = ascent.BurnOutS();
    stats_.topSpeed = ascent.BurnOutSpeed();
    if (ascent.BurnOutS() - ascent.LaunchS() >= kShortestBoostS) stats_.acceleration = ascent.Acceleration();
    stats_.apogee = ascent.ApogeeHeight();
    stats_.apogeeS = ascent.ApogeeS();
  }

  std::optional<LineFiring> Firing(bool (*fired)(uint8_t)) const {
    const std::optional<size_t> sample = FirstSampleWith(set_, fired);
    if (!sample) return std::nullopt;
    return LineFiring{TimeOfSample(*sample), CentredMean(altitude_, *sample, kMeanHalfWindow) - pad_};
  }

  // The descent's stages: from the apogee (and the firings for it) to each
  // later firing, the last one to the landing.
  void MeasureDescent() {
    double stageStartS = *stats_.apogeeS;
    std::vector<double> laterFirings;
    for (const std::optional<LineFiring>& firing : {stats_.lineA, stats_.lineB}) {
      if (!firing || firing->timeS < *stats_.apogeeS) continue;
      if (firing->altitude >= *stats_.apogee - kApogeeFiringDropM) {
        stageStartS = std::max(stageStartS, firing->timeS);
      } else {
        laterFirings.push_back(firing->timeS);
      }
    }
    std::sort(laterFirings.begin(), laterFirings.end());
    const double lastStageS = laterFirings.empty() ? stageStartS : laterFirings.back();
    FindLanding(lastStageS + kSettleS);
    const double endS = stats_.landingS ? *stats_.landingS - kBeforeLandingS : TimeOfSample(altitude_.size() - 1);
    stats_.descent = RateOver(stageStartS + kSettleS, laterFirings.empty() ? endS : laterFirings.front());
    if (!laterFirings.empty()) stats_.finalDescent = RateOver(lastStageS + kSettleS, endS);
  }

  void FindLanding(double fromS) {
    const size_t first = SampleAtOrAfter(fromS), last = altitude_.size() - 1;
    if (last < first + 3) return;  // a line, a level and a residual need four samples
    const RestFit rest = FitRest(altitude_, first, last);
    const LineFit line = FitLine(altitude_, first, last);
    const double variance = rest.residual / static_cast<double>(last - first - 2);
    const bool level = TimeOfSample(last) - rest.restS >= kShortestRestS;
    const bool significant = line.residual - rest.residual >= kRestSignificance * variance;
    if (level && rest.slope < 0.0 && significant) stats_.landingS = rest.restS;
  }

  std::optional<DescentRate> RateOver(double fromS, double toS) const {
    const size_t first = SampleAtOrAfter(fromS), last = std::min(SampleAtOrBefore(toS), altitude_.size() - 1);
    if (last <= first || TimeOfSample(last - first) < kShortestWindowS) return std::nullopt;
    const LineFit line = FitLine(altitude_, first, last);
    return DescentRate{-line.slope, line.slopeError, TimeOfSample(first), TimeOfSample(last)};
  }

  const DataSet& set_;
  const std::vector<double>& altitude_;
  double pad_ = 0.0;  // the pad's level in the set's frame
  FlightStats stats_;
};

}  // namespace

std::optional<double> FlightStats::FlightTimeS() const {
  if (!launchS || !landingS) return std::nullopt;
  return *landingS - *launchS;
}

FlightStats ComputeFlightStats(const DataSet& set) { return StatsBuilder(set).Stats(); }
