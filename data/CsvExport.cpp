#include "data/CsvExport.h"

#include "data/LineFlags.h"
#include "base/NumberText.h"
#include "data/SampleTime.h"

namespace {

constexpr double kKmhPerMetrePerSecond = 3.6;

void WriteRow(std::ostream& out, const DataSet& set, size_t i) {
  out << TimeOfSample(i) << ',' << set.adc[i] << ',' << set.voltage[i] << ','
      << set.pressure[i] << ',' << set.altitudeMsl[i] << ',' << set.altitudeAgl[i] << ','
      << set.smoothedVelocity[i] * kKmhPerMetrePerSecond << ',';
  if (HasLineA(set.lineFlags[i])) out << "Line A";
  out << ',';
  if (HasLineB(set.lineFlags[i])) out << "Line B";
  out << '\n';
}

}  // namespace

bool WriteCsv(std::ostream& out, const DataSet& set) {
  out.imbue(NumberTextLocale());
  out << "Time, ADC, Voltage, Pressure, Altitude (MSL), Altitude (AGL), Smooth Velocity (km/h), Line A, Line B\n";
  for (size_t i = 0; i < set.adc.size(); ++i) WriteRow(out, set, i);
  return out.good();
}
