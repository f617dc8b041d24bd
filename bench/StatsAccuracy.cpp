// The flight statistics against the flight model's truth: for each kind of
// flight in the catalogue, over seeds, the largest error of each value and how
// often it was given. Prints one table; `zel_stats_accuracy [seeds]`.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/DebugLog.h"
#include "data/DataSet.h"
#include "data/ClimbStats.h"
#include "data/FlightStats.h"
#include "sim/FlightCatalogue.h"

namespace {

// The largest error of one value over the seeds, in how many it was given,
// and the largest error in the value's own standard errors.
struct Spread {
  double worst = 0.0;
  int given = 0;
  double worstInErrors = 0.0;

  void Add(const std::optional<double>& measured, double truth, bool relative, double standardError = 0.0) {
    if (!measured) return;
    ++given;
    const double error = relative ? (*measured - truth) / truth * 100.0 : *measured - truth;
    if (std::fabs(error) > std::fabs(worst)) worst = error;
    if (standardError > 0.0) worstInErrors = std::max(worstInErrors, std::fabs(*measured - truth) / standardError);
  }
  std::string Text(int seeds) const {
    if (given == 0) return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%+.2f%s", worst, given == seeds ? "" : "*");
    return text;
  }
};

DataSet SetOf(const std::vector<DataPacket>& packets) {
  DataSet set;
  set.Build(packets, packets.empty() ? -1 : 0, 0, 0);
  return set;
}

std::optional<double> Rate(const std::optional<DescentRate>& descent) {
  return descent ? std::optional(descent->rate) : std::nullopt;
}

std::string Text(const std::optional<double>& value, double error) {
  if (!value) return "none";
  char text[48];
  std::snprintf(text, sizeof text, "%.2f+-%.2f", *value, error);
  return text;
}

// One seed's values beside the truth, and the notes.
void PrintFlight(const FlightStats& s, const RecordedFlight& t, const FlightParameters& p) {
  std::printf("  seed %u: launch %s (%.2f) burn-out %s (%.2f) top %s (%.1f) accel %s (%.1f) apogee %s (%.1f) at %s (%.2f)\n",
              p.seed, Text(s.launchS, s.errors.launchS).c_str(), t.launchTimeS,
              Text(s.burnOutS, s.errors.burnOutS).c_str(), t.burnOutTimeS, Text(s.topSpeed, s.errors.topSpeed).c_str(),
              t.topSpeedMs, Text(s.acceleration, s.errors.acceleration).c_str(), p.thrustN / p.liftoffMassKg - 9.80665,
              Text(s.apogee, s.errors.apogee).c_str(), t.apogeeMetres, Text(s.apogeeS, s.errors.apogeeS).c_str(),
              t.apogeeTimeS);
  std::printf("    descent %s final %s landing %s (%.2f)\n",
              s.descent ? Text(s.descent->rate, s.descent->error).c_str() : "none",
              s.finalDescent ? Text(s.finalDescent->rate, s.finalDescent->error).c_str() : "none",
              Text(s.landingS, 0.0).c_str(), t.landingTimeS);
  for (const std::string& note : s.notes) std::printf("    note: %s\n", note.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::ostringstream smoothingLog;  // each set's smoothing weights, not wanted here
  const RedirectedDebugLog quiet(smoothingLog.rdbuf());
  const int seeds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  std::printf("%-50s %9s %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", "flight (errors: % or s; * given on some seeds)",
              "apogee m", "apogee%", "apog. s", "top s", "launch", "burnout", "top%", "accel%", "desc%", "final%",
              "landing");
  for (const CataloguedFlight& kind : FlightCatalogue()) {
    Spread apogee, apogeeS, samplesTopS, launch, burnOut, top, accel, descent, final, landing;
    double truthApogee = 0.0;
    for (int seed = 1; seed <= seeds; ++seed) {
      FlightParameters p = kind.flight;
      p.seed = static_cast<uint32_t>(seed);
      const RecordedFlight truth = RecordFlight(p);
      const FlightStats s = ComputeFlightStats(SetOf(truth.packets));
      truthApogee = truth.apogeeMetres;
      if (argc > 2 && kind.name.find(argv[2]) != std::string::npos) PrintFlight(s, truth, p);
      // Without a pad the altitudes are above the first sample; a pinned top is a lower bound, never above the truth.
      const double apogeeTruth = truth.apogeeMetres - (s.fromFirstSample ? truth.startHeightM : 0.0);
      apogee.Add(s.apogeeAtLeast && s.apogee && *s.apogee <= apogeeTruth ? std::optional(apogeeTruth) : s.apogee,
                 apogeeTruth, true);
      // A fitted apogee time, or the samples' top when the fit could not be used.
      const bool fitted = s.launchS && s.errors.apogeeS <= kMostTimeErrorS;
      (fitted ? apogeeS : samplesTopS).Add(s.apogeeS, truth.apogeeTimeS, false, fitted ? s.errors.apogeeS : 0.0);
      launch.Add(s.launchS, truth.launchTimeS, false, s.errors.launchS);
      burnOut.Add(s.burnOutS, truth.burnOutTimeS, false, s.errors.burnOutS);
      top.Add(s.topSpeed, truth.topSpeedMs, true, s.errors.topSpeed);
      accel.Add(s.acceleration, p.thrustN / p.liftoffMassKg - 9.80665, true, s.errors.acceleration);
      descent.Add(Rate(s.descent), p.descentRateMs, true);
      final.Add(Rate(s.finalDescent), p.mainDescentRateMs > 0.0 ? p.mainDescentRateMs : p.descentRateMs, true);
      if (truth.landingTimeS >= 0.0) landing.Add(s.landingS, truth.landingTimeS, false);
    }
    std::printf("%-50s %9.0f %8s %8s %8s %8s %8s %8s %8s %8s %8s %8s\n", kind.name.c_str(), truthApogee,
                apogee.Text(seeds).c_str(), apogeeS.Text(seeds).c_str(), samplesTopS.Text(seeds).c_str(),
                launch.Text(seeds).c_str(),
                burnOut.Text(seeds).c_str(), top.Text(seeds).c_str(), accel.Text(seeds).c_str(),
                descent.Text(seeds).c_str(), final.Text(seeds).c_str(), landing.Text(seeds).c_str());
    std::printf("%-50s %9s %8s %8.1f %8s %8.1f %8.1f %8.1f %8.1f\n", "  (largest error in standard errors)", "", "",
                apogeeS.worstInErrors, "", launch.worstInErrors, burnOut.worstInErrors, top.worstInErrors,
                accel.worstInErrors);
  }
  return 0;
}
