#include "data/PinnedSamples.h"

#include <algorithm>

#include "data/LineFits.h"
#include "data/SampleTime.h"

namespace {

constexpr int32_t kAdcLowest = 0;
constexpr int32_t kAdcHighest = 1023;
constexpr size_t kShortestLimitRun = 2;  // samples at the ADC's own limit
constexpr size_t kShortestFlatTop = 3;   // samples on one count at the top
// How fast the climb may enter its top count, m/s, measured over the second
// before it: a rocket that reaches its apogee within one count (9 to 20 m)
// is below 20 m/s there; one that hits the sensor's end comes in faster.
constexpr double kFastestApogeeEntry = 30.0;
constexpr size_t kEntryWindow = 10;

// The runs of samples whose count is `count`, at least `shortest` long.
void AddRuns(const std::vector<int32_t>& adc, int32_t count, size_t shortest, std::vector<SampleSpan>& spans) {
  for (size_t i = 0; i < adc.size();) {
    size_t end = i;
    while (end < adc.size() && adc[end] == count) ++end;
    if (end - i >= shortest) spans.push_back({i, end - 1});
    i = end == i ? i + 1 : end;
  }
}

// The run on the set's top count that the climb entered too fast for an apogee.
std::optional<SampleSpan> FlatTop(const DataSet& set) {
  const std::vector<int32_t>& adc = set.adc;
  const int32_t top = *std::min_element(adc.begin(), adc.end());  // counts fall as altitude rises
  std::vector<SampleSpan> runs;
  AddRuns(adc, top, kShortestFlatTop, runs);
  for (const SampleSpan& run : runs) {
    if (run.first < kEntryWindow) continue;
    const LineFit entry = FitLine(set.altitudeAgl, run.first - kEntryWindow, run.first - 1);
    if (entry.slope > kFastestApogeeEntry) return run;
  }
  return std::nullopt;
}

}  // namespace

double SampleSpan::FromS() const { return TimeOfSample(first); }
double SampleSpan::ToS() const { return TimeOfSample(last); }

std::vector<SampleSpan> FindPinnedSamples(const DataSet& set) {
  std::vector<SampleSpan> spans;
  if (set.adc.empty()) return spans;
  AddRuns(set.adc, kAdcLowest, kShortestLimitRun, spans);
  AddRuns(set.adc, kAdcHighest, kShortestLimitRun, spans);
  if (const std::optional<SampleSpan> flat = FlatTop(set)) {
    const bool known = std::any_of(spans.begin(), spans.end(), [&](const SampleSpan& s) { return s.first == flat->first; });
    if (!known) spans.push_back(*flat);
  }
  std::sort(spans.begin(), spans.end(), [](const SampleSpan& a, const SampleSpan& b) { return a.first < b.first; });
  return spans;
}

std::optional<SampleSpan> PinnedTop(const DataSet& set, const std::vector<SampleSpan>& pinned) {
  if (set.altitudeAgl.empty()) return std::nullopt;
  const auto highest = static_cast<size_t>(set.IndexOfMaximum(set.altitudeAgl));
  for (const SampleSpan& span : pinned) {
    if (set.altitudeAgl[span.first] >= set.altitudeAgl[highest]) return span;
  }
  return std::nullopt;
}
