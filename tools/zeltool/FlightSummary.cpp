#include "tools/zeltool/FlightSummary.h"

#include "data/LineFlags.h"
#include "data/SampleTime.h"
#include "tools/zeltool/TerminalText.h"

namespace {

int32_t FirstIndexWith(const DataSet& set, bool (*fired)(uint8_t)) {
  for (size_t i = 0; i < set.lineFlags.size(); ++i) {
    if (fired(set.lineFlags[i])) return static_cast<int32_t>(i);
  }
  return -1;
}

void WriteLineFired(std::ostream& out, const char* line, int32_t index) {
  out << "  " << line;
  if (index < 0) {
    out << " never fired\n";
  } else {
    out << " first fired at " << TimeOfSample(static_cast<size_t>(index)) << " s\n";
  }
}

}  // namespace

FlightSummary SummarizeFlight(const DataSet& set) {
  FlightSummary summary;
  summary.samples = set.SampleCount();
  summary.apogeeIndex = set.IndexOfMaximum(set.altitudeAgl);
  summary.topSpeedIndex = set.IndexOfMaximum(set.velocity);
  summary.lineAIndex = FirstIndexWith(set, HasLineA);
  summary.lineBIndex = FirstIndexWith(set, HasLineB);
  return summary;
}

void WriteFlightSummary(std::ostream& out, const DataSet& set, const FlightSummary& summary,
                        const std::string* comment) {
  out << "set " << set.setNumber << ": " << summary.samples << " samples, "
      << TimeOfSample(static_cast<size_t>(summary.samples)) << " s\n";
  if (summary.samples > 0) {
    out << "  apogee " << set.altitudeAgl[summary.apogeeIndex] << " m above the first sample at "
        << TimeOfSample(static_cast<size_t>(summary.apogeeIndex)) << " s\n";
    out << "  top speed " << set.velocity[summary.topSpeedIndex] << " m/s at "
        << TimeOfSample(static_cast<size_t>(summary.topSpeedIndex)) << " s\n";
  }
  WriteLineFired(out, "Line A", summary.lineAIndex);
  WriteLineFired(out, "Line B", summary.lineBIndex);
  if (comment != nullptr) out << "  comment: " << TerminalText(*comment) << '\n';
}
