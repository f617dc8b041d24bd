#include "data/DescentStats.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "data/LineFits.h"
#include "data/SampleTime.h"
#include "data/StatUnits.h"

namespace {

constexpr double kApogeeFiringDropM = 40.0;
constexpr double kSettleS = 2.0;  // for a parachute to open and the speed to settle
constexpr double kBeforeLandingS = 1.0;
constexpr double kShortestWindowS = 2.0;
constexpr double kShortestRestS = 1.0;
constexpr double kRestSignificance = 16.0;  // the residual's gain, in residual variances
// Rates before and after a firing that differ by less than this many of their
// joint standard errors, and this share, are one rate: nothing opened.
constexpr double kSameRateErrors = 3.0;
constexpr double kSameRateShare = 0.1;

struct StageFiring {
  double timeS;
  char line;  // 'A' or 'B'
};

std::string Seconds(double s) { return FixedText(s, 2) + " s"; }

class DescentMeasure {
 public:
  DescentMeasure(const std::vector<double>& altitude, const std::vector<SampleSpan>& pinned, FlightStats& stats)
      : altitude_(altitude), pinned_(pinned), stats_(stats) {}

  void Measure(double topS) {
    double startS = topS;
    std::vector<StageFiring> firings;
    for (const auto& [firing, line] : {std::pair{stats_.lineA, 'A'}, std::pair{stats_.lineB, 'B'}}) {
      if (!firing || firing->timeS < topS) continue;
      if (firing->altitude >= *stats_.apogee - kApogeeFiringDropM) {
        startS = std::max(startS, firing->timeS);
      } else {
        firings.push_back({firing->timeS, line});
      }
    }
    std::sort(firings.begin(), firings.end(), [](const StageFiring& a, const StageFiring& b) { return a.timeS < b.timeS; });
    FindLanding(startS, firings);
    const double endS = stats_.landingS ? *stats_.landingS - kBeforeLandingS : TimeOfSample(altitude_.size() - 1);
    MeasureStages(startS, firings, endS);
  }

 private:
  // The landing, searched from the last firing (a line fired on the ground
  // after it leaves no descent to search: then from the one before, or the
  // apogee); firings at or after it fired on the ground and start no stage.
  void FindLanding(double startS, std::vector<StageFiring>& firings) {
    std::vector<double> starts{startS};
    for (const StageFiring& firing : firings) starts.push_back(firing.timeS);
    for (auto from = starts.rbegin(); from != starts.rend() && !stats_.landingS; ++from) {
      stats_.landingS = LandingFrom(*from);
      // A parachute opening bends the line as a landing does: where there is
      // room, the landing must also be found past the bend.
      if (stats_.landingS && *stats_.landingS - *from > kSettleS + kShortestWindowS) {
        stats_.landingS = LandingFrom(*from + kSettleS);
      }
    }
    if (!stats_.landingS) return;
    const double landingS = *stats_.landingS;
    firings.erase(std::remove_if(firings.begin(), firings.end(),
                                 [&](const StageFiring& firing) { return firing.timeS >= landingS; }),
                  firings.end());
  }

  std::optional<double> LandingFrom(double fromS) const {
    const size_t first = SampleAtOrAfter(fromS), last = altitude_.size() - 1;
    if (first > last || last < first + 3) return std::nullopt;  // a line, a level and a residual need four samples
    const RestFit rest = FitRest(altitude_, first, last);
    const LineFit line = FitLine(altitude_, first, last);
    const double variance = rest.residual / static_cast<double>(last - first - 2);
    const bool level = TimeOfSample(last) - rest.restS >= kShortestRestS;
    const bool significant = line.residual - rest.residual >= kRestSignificance * variance;
    if (level && rest.slope < 0.0 && significant) return rest.restS;
    return std::nullopt;
  }

  // The stages from `startS` through each firing to `endS`; a firing after
  // which the rate stays the same joins its two stages.
  void MeasureStages(double startS, const std::vector<StageFiring>& firings, double endS) {
    std::vector<double> bounds{startS};
    for (const StageFiring& firing : firings) {
      const std::optional<DescentRate> before = RateOver(bounds.back() + kSettleS, firing.timeS);
      const std::optional<DescentRate> after = RateOver(firing.timeS + kSettleS, endS);
      if (before && after && SameRate(*before, *after)) {
        stats_.notes.push_back(std::string("no change of rate after line ") + firing.line);
        continue;
      }
      if (!after && stats_.landingS && *stats_.landingS - firing.timeS < kSettleS + kShortestWindowS) {
        stats_.notes.push_back(std::string("line ") + firing.line + " fired " +
                               Seconds(*stats_.landingS - firing.timeS) +
                               " before the landing: no descent is measured after it");
      }
      bounds.push_back(firing.timeS);
    }
    stats_.descent = Rate("descent", bounds.front() + kSettleS, bounds.size() > 1 ? bounds[1] : endS);
    if (bounds.size() > 1) stats_.finalDescent = Rate("final descent", bounds.back() + kSettleS, endS);
  }

  static bool SameRate(const DescentRate& a, const DescentRate& b) {
    const double difference = std::fabs(a.rate - b.rate);
    return difference <= kSameRateErrors * std::hypot(a.error, b.error) ||
           difference <= kSameRateShare * std::max(std::fabs(a.rate), std::fabs(b.rate));
  }

  // The rate over a window, none with a note when the sensor was pinned in it.
  std::optional<DescentRate> Rate(const char* name, double fromS, double toS) {
    const std::optional<DescentRate> rate = RateOver(fromS, toS);
    if (rate && PinnedWithin(fromS, toS)) {
      stats_.notes.push_back(std::string(name) + " none: the sensor was at its limit during it");
      return std::nullopt;
    }
    return rate;
  }

  bool PinnedWithin(double fromS, double toS) const {
    const size_t first = SampleAtOrAfter(fromS), last = SampleAtOrBefore(toS);
    return std::any_of(pinned_.begin(), pinned_.end(), [&](const SampleSpan& s) { return s.Overlaps(first, last); });
  }

  std::optional<DescentRate> RateOver(double fromS, double toS) const {
    const size_t first = SampleAtOrAfter(fromS), last = std::min(SampleAtOrBefore(toS), altitude_.size() - 1);
    if (last <= first || TimeOfSample(last - first) < kShortestWindowS) return std::nullopt;
    const LineFit line = FitLine(altitude_, first, last);
    return DescentRate{-line.slope, line.slopeError, TimeOfSample(first), TimeOfSample(last)};
  }

  const std::vector<double>& altitude_;
  const std::vector<SampleSpan>& pinned_;
  FlightStats& stats_;
};

}  // namespace

void MeasureDescent(const std::vector<double>& altitude, const std::vector<SampleSpan>& pinned, double topS,
                    FlightStats& stats) {
  if (!stats.apogee || altitude.empty()) return;
  DescentMeasure(altitude, pinned, stats).Measure(topS);
}
