#include "data/ClimbStats.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "data/AscentFit.h"
#include "data/LineFits.h"
#include "data/SampleTime.h"
#include "data/StatUnits.h"

namespace {

constexpr size_t kMeanHalfWindow = 5;       // 11 samples, 1 s
constexpr double kLeastClimbM = 20.0;       // about two sensor steps above the pad
constexpr size_t kLeastSamplesAround = 10;  // 1 s of climb before the top, 1 s of recording after it
constexpr double kFitAgreementM = 20.0;     // how far the fitted apogee may lie from the samples' top...
constexpr double kFitAgreementShare = 0.1;  // ...or this share of the climb, whichever is more
constexpr double kFitAgreementS = 3.0;
constexpr size_t kPadSamples = 10;          // the first second, at rest on a pad
constexpr double kFastestRestMs = 15.0;     // its slope; a rocket in the air moves faster, but near its apogee
constexpr double kDepartureM = 15.0;        // how far above the pad the climb has clearly begun
constexpr double kLeastScatterM = 1.0;      // a floor for the scatter of noiseless, coarse samples
constexpr double kShortestBoostS = 0.2;     // two samples: a shorter boost is one jump of speed to them

std::string Seconds(double s) { return FixedText(s, 2) + " s"; }

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

// The samples' scatter about a smooth curve from their second differences,
// whose variance is six times the noise's (quantising included) where the
// curve bends little from one sample to the next.
double ScatterOf(const std::vector<double>& altitude, size_t first, size_t last) {
  double squares = 0.0;
  size_t count = 0;
  for (size_t i = first + 1; i + 1 <= last; ++i) {
    const double bend = altitude[i + 1] - 2.0 * altitude[i] + altitude[i - 1];
    squares += bend * bend;
    ++count;
  }
  return count == 0 ? kLeastScatterM : std::max(kLeastScatterM, std::sqrt(squares / count / 6.0));
}

// Whether the first second lies at rest: the median of the slopes between
// its samples (Theil and Sen's), which neither the sensor's flicker between
// two counts nor one stray sample moves far.
bool HasPad(const std::vector<double>& altitude) {
  if (altitude.size() < kPadSamples) return true;
  std::vector<double> slopes;
  for (size_t i = 0; i < kPadSamples; ++i) {
    for (size_t j = i + 1; j < kPadSamples; ++j) slopes.push_back((altitude[j] - altitude[i]) / TimeOfSample(j - i));
  }
  std::nth_element(slopes.begin(), slopes.begin() + slopes.size() / 2, slopes.end());
  return std::fabs(slopes[slopes.size() / 2]) <= kFastestRestMs;
}

// The first sample from which series(i) stays above `level` up to `last`;
// last + 1 when the last is not above it.
template <typename Series>
size_t StaysAboveFrom(const Series& series, size_t last, double level) {
  size_t from = last + 1;
  while (from > 0 && series(from - 1) > level) --from;
  return from;
}

class ClimbMeasure {
 public:
  ClimbMeasure(const std::vector<double>& altitude, const std::optional<SampleSpan>& pinnedTop, FlightStats& stats)
      : altitude_(altitude), pinnedTop_(pinnedTop), stats_(stats) {}

  void Measure() {
    const bool pad = HasPad(altitude_);
    stats_.padLevel = pad ? CentredMean(altitude_, 0, kMeanHalfWindow) : altitude_.front();
    if (!pad) {
      stats_.fromFirstSample = true;
      stats_.notes.push_back("no samples at rest before the climb: altitudes are above the first sample");
    }
    peak_ = pinnedTop_ ? pinnedTop_->first : PeakOfMeans(altitude_);
    top_ = pinnedTop_ ? altitude_[pinnedTop_->first] : CentredMean(altitude_, peak_, kMeanHalfWindow);
    if (top_ - stats_.padLevel < kLeastClimbM || peak_ < kLeastSamplesAround ||
        peak_ + kLeastSamplesAround >= altitude_.size()) {
      return;
    }
    scatter_ = ScatterOf(altitude_, 0, peak_);
    TakeSamplesTop();
    if (pad) FitClimb();
  }

 private:
  // The apogee as the samples show it: their highest 1-s mean, or the pinned level.
  void TakeSamplesTop() {
    stats_.apogee = top_ - stats_.padLevel;
    stats_.errors.apogee = scatter_ / std::sqrt(2.0 * kMeanHalfWindow + 1.0);
    if (pinnedTop_) {
      stats_.apogeeAtLeast = true;
      stats_.notes.push_back("the sensor was at its limit from " + Seconds(pinnedTop_->FromS()) + " to " +
                             Seconds(pinnedTop_->ToS()) + ": the apogee is a lower bound");
      return;
    }
    stats_.apogeeS = TimeOfSample(peak_);
    stats_.errors.apogeeS = TopSpreadS();
  }

  // How long the 1-s means stay within their own error of the top, as a
  // standard deviation of a time spread evenly over that stretch.
  double TopSpreadS() const {
    const double near = 2.0 * stats_.errors.apogee;
    size_t first = peak_, last = peak_;
    while (first > 0 && CentredMean(altitude_, first - 1, kMeanHalfWindow) >= top_ - near) --first;
    while (last + 1 < altitude_.size() && CentredMean(altitude_, last + 1, kMeanHalfWindow) >= top_ - near) ++last;
    return TimeOfSample(last - first + 1) / std::sqrt(12.0);
  }

  void FitClimb() {
    // Pinned samples are not the climb's: the fit stops before them.
    const std::vector<double> climb(altitude_.begin(), altitude_.begin() + (pinnedTop_ ? peak_ : altitude_.size()));
    const std::optional<AscentFit> fit = FitAscent(climb, pinnedTop_ ? peak_ - 1 : peak_);
    if (!fit) return;
    const std::string doubt = DoubtOf(*fit);
    if (!doubt.empty()) {
      stats_.notes.push_back(doubt);
      return;
    }
    TakeFit(*fit);
  }

  // Why the fit cannot stand for the climb; empty when it can.
  std::string DoubtOf(const AscentFit& fit) const {
    const Ascent& a = fit.ascent;
    const size_t leaves = StaysAboveFrom([&](size_t i) { return altitude_[i] - fit.padLevel; }, peak_, kDepartureM);
    const double missed = MissedBy(fit, leaves > kPadSamples ? leaves - kPadSamples : 0);
    if (missed > kMostScatterRatio) {
      return "not a single-motor climb: the fitted climb misses the samples by " + FixedText(missed, 1) +
             " times their scatter";
    }
    const size_t fittedLeaves = StaysAboveFrom([&](size_t i) { return a.HeightAt(TimeOfSample(i)); }, peak_, kDepartureM);
    const double gapS = std::fabs(TimeOfSample(fittedLeaves) - TimeOfSample(leaves));
    if (a.LaunchS() < 0.0 || gapS > kMostDepartureGapS) {
      return "not a single-motor climb: the fitted climb leaves the pad at " + Seconds(std::max(0.0, a.LaunchS())) +
             ", the samples at " + Seconds(TimeOfSample(leaves));
    }
    if (!(a.LaunchS() < a.BurnOutS() && a.BurnOutS() < a.ApogeeS())) return "not a single-motor climb";
    if (!pinnedTop_ && !MeetsTop(a, fit.padLevel)) {
      return "the fitted climb misses the samples' top: the apogee is the samples' highest 1-s mean";
    }
    return "";
  }

  // The fit's scatter about the samples from `first` to its last, in shares of
  // the samples' own; 0 when the fit ends before `first` (nothing to miss).
  double MissedBy(const AscentFit& fit, size_t first) const {
    if (first > fit.lastSample) return 0.0;
    double squares = 0.0;
    for (size_t i = first; i <= fit.lastSample; ++i) {
      const double miss = altitude_[i] - fit.padLevel - fit.ascent.HeightAt(TimeOfSample(i));
      squares += miss * miss;
    }
    const double rms = std::sqrt(squares / static_cast<double>(fit.lastSample - first + 1));
    return rms / std::max(ScatterOf(altitude_, first, fit.lastSample), kLeastScatterM);
  }

  // Whether the fitted climb ends where the samples' top lies, within the set.
  bool MeetsTop(const Ascent& ascent, double padLevel) const {
    const double topHeight = ascent.ApogeeHeight() + padLevel;
    const double allowed = std::max(kFitAgreementM, kFitAgreementShare * (top_ - padLevel));
    return std::fabs(topHeight - top_) <= allowed && std::fabs(ascent.ApogeeS() - TimeOfSample(peak_)) <= kFitAgreementS &&
           ascent.ApogeeS() <= TimeOfSample(altitude_.size() - 1);
  }

  void TakeFit(const AscentFit& fit) {
    const Ascent& a = fit.ascent;
    const AscentErrors& e = fit.errors;
    stats_.padLevel = fit.padLevel;
    Take("top speed", stats_.topSpeed, stats_.errors.topSpeed, a.BurnOutSpeed(), e.burnOutSpeed, true);
    // A boost between two samples shows its impulse (the top speed) but not how it was given.
    if (a.BurnOutS() - a.LaunchS() < kShortestBoostS) {
      stats_.notes.push_back("launch, burn-out and acceleration none: the boost is shorter than the samples show");
    } else {
      Take("launch", stats_.launchS, stats_.errors.launchS, a.LaunchS(), e.launchS, false);
      Take("burn-out", stats_.burnOutS, stats_.errors.burnOutS, a.BurnOutS(), e.burnOutS, false);
      Take("acceleration", stats_.acceleration, stats_.errors.acceleration, a.Acceleration(), e.acceleration, true);
    }
    if (pinnedTop_) return;
    if (Sure(a.ApogeeHeight(), e.apogeeHeight, true) && Sure(a.ApogeeS(), e.apogeeS, false)) {
      stats_.apogee = a.ApogeeHeight();
      stats_.apogeeS = a.ApogeeS();
      stats_.errors.apogee = e.apogeeHeight;
      stats_.errors.apogeeS = e.apogeeS;
    } else {
      stats_.apogee = top_ - stats_.padLevel;  // the samples' top above the fitted pad
      stats_.notes.push_back("the fitted apogee is unsure: the apogee is the samples' highest 1-s mean");
    }
  }

  static bool Sure(double value, double error, bool share) {
    return share ? error <= kMostErrorShare * std::fabs(value) : error <= kMostTimeErrorS;
  }

  // A fitted value and its error, or none with a note when the error is too large.
  void Take(const char* name, std::optional<double>& value, double& error, double fitted, double fittedError,
            bool share) {
    if (Sure(fitted, fittedError, share)) {
      value = fitted;
      error = fittedError;
      return;
    }
    if (!std::isfinite(fittedError) || fitted == 0.0) {
      stats_.notes.push_back(std::string(name) + " none: the samples do not show it");
      return;
    }
    stats_.notes.push_back(std::string(name) + " none: its standard error is " +
                           (share ? FixedText(100.0 * fittedError / std::fabs(fitted), 0) + " % of it"
                                  : Seconds(fittedError)));
  }

  const std::vector<double>& altitude_;
  const std::optional<SampleSpan>& pinnedTop_;
  FlightStats& stats_;
  size_t peak_ = 0;
  double top_ = 0.0;
  double scatter_ = 0.0;
};

}  // namespace

void MeasureClimb(const std::vector<double>& altitude, const std::optional<SampleSpan>& pinnedTop, FlightStats& stats) {
  if (altitude.empty()) return;
  ClimbMeasure(altitude, pinnedTop, stats).Measure();
}
