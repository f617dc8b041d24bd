#include "data/FlightStats.h"

#include "data/ClimbStats.h"
#include "data/DescentStats.h"
#include "data/LineFits.h"
#include "data/LineFlags.h"
#include "data/PinnedSamples.h"
#include "data/SampleTime.h"

namespace {

constexpr size_t kMeanHalfWindow = 5;  // 11 samples, 1 s

std::optional<LineFiring> Firing(const DataSet& set, double padLevel, bool (*fired)(uint8_t)) {
  for (size_t i = 0; i < set.lineFlags.size(); ++i) {
    if (fired(set.lineFlags[i])) {
      return LineFiring{TimeOfSample(i), CentredMean(set.altitudeAgl, i, kMeanHalfWindow) - padLevel};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<double> FlightStats::FlightTimeS() const {
  if (!launchS || !landingS) return std::nullopt;
  return *landingS - *launchS;
}

FlightStats ComputeFlightStats(const DataSet& set) {
  FlightStats stats;
  stats.samples = set.SampleCount();
  stats.durationS = TimeOfSample(set.altitudeAgl.size());
  if (set.altitudeAgl.empty()) return stats;
  const std::vector<SampleSpan> pinned = FindPinnedSamples(set);
  const std::optional<SampleSpan> pinnedTop = PinnedTop(set, pinned);
  MeasureClimb(set.altitudeAgl, pinnedTop, stats);
  stats.lineA = Firing(set, stats.padLevel, HasLineA);
  stats.lineB = Firing(set, stats.padLevel, HasLineB);
  if (stats.apogeeS || pinnedTop) MeasureDescent(set.altitudeAgl, pinned, stats.apogeeS.value_or(pinnedTop->ToS()), stats);
  return stats;
}
