// Any bytes become the samples of one flight, which then goes through all
// that shows its statistics: ComputeFlightStats, the rows in both unit
// systems, zeltool stats' text, CSV and JSON, and the report and comparison
// pages. It stops on a statistic that is not finite, on events out of order
// or outside the set, on "nan" or "inf" in any text, and on a page not
// written whole.
//
// Byte 0: bits 0-1 how the rest becomes samples (0 a flight of the physical
// model, 1 a profile of segments, 2 or 3 raw sample words); bit 2 the report
// as SVG (else PDF); bit 3 the comparison as SVG; bit 4 the pages in feet;
// bits 5-7 the calibration offset, -4 to 3 counts. Missing bytes read as 0.
// - model: thrust to weight, burn time, mass, propellant share, drag area,
//   descent rate, ground altitude, pad time, noise, sensor error, seed, the
//   lines' modes (one byte) and values, inhibit time and the readings kept
//   (at most 2,000, so one input stays fast), one byte each;
// - profile: the ground altitude (20 m a step), then up to 16 segments of
//   three bytes: samples (1 to 256), climb rate (signed, 2 m/s a step) and
//   line flags (bits 0-1) with a scatter of up to 63 m (bits 2-7);
// - raw: little-endian sample words, at most a full memory's.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "base/DebugLog.h"
#include "data/FlightStatRows.h"
#include "data/FlightStats.h"
#include "data/SampleTime.h"
#include "data/SensorConverter.h"
#include "data/StatUnits.h"
#include "sim/FlightModel.h"
#include "tools/zeltool/StatsOutput.h"
#include "view/page/FlightCharts.h"
#include "view/page/PageFiles.h"

namespace {

constexpr size_t kMostSamples = 128 * kWordsPerPacket;  // a full memory

void Fail(const char* what, const std::string& detail = "") {
  std::fprintf(stderr, "ERROR: FuzzFlightStats: %s %s\n", what, detail.c_str());
  std::abort();
}

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool AtEnd() const { return at_ >= size_; }
  uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // low + (high - low) * byte / 255
  double Between(double low, double high) { return low + (high - low) * Byte() / 255.0; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

std::vector<uint16_t> ModelFlightWords(ByteReader& in) {
  FlightParameters p;
  const double thrustToWeight = in.Between(1.2, 30.0);
  p.burnTimeS = in.Between(0.1, 5.0);
  p.liftoffMassKg = in.Between(0.05, 3.0);
  p.thrustN = thrustToWeight * p.liftoffMassKg * kStandardGravity;
  p.propellantMassKg = in.Between(0.0, 0.6) * p.liftoffMassKg;
  p.dragAreaM2 = in.Between(0.0, 0.004);
  p.descentRateMs = in.Between(2.0, 40.0);
  p.groundAltitudeM = in.Between(-300.0, 5000.0);
  p.padTimeS = in.Between(0.5, 10.0);
  p.noiseCounts = in.Between(0.0, 4.0);
  p.sensorErrorCounts = static_cast<int32_t>(in.Byte() % 9) - 4;
  p.seed = in.Byte();
  const uint8_t modes = in.Byte();
  p.rules.lineAMode = static_cast<LineMode>(modes & 3);
  p.rules.lineBMode = static_cast<LineMode>((modes >> 2) & 3);
  p.rules.lineAValue = static_cast<uint16_t>(in.Byte() * 4);
  p.rules.lineBValue = static_cast<uint16_t>(in.Byte() * 4);
  p.rules.inhibitTime = in.Byte();
  p.rules.maxReadings = static_cast<uint16_t>(in.Between(20.0, 2000.0));
  return RecordFlight(p).words;
}

// A scatter in [-1, 1] that repeats for the same sample.
double Scatter(size_t sample) {
  const uint32_t hash = static_cast<uint32_t>(sample) * 2654435761u;
  return (hash >> 8) / static_cast<double>(1u << 23) - 1.0;
}

std::vector<uint16_t> ProfileWords(ByteReader& in) {
  const SensorConverter sensor;
  const double ground = in.Byte() * 20.0;
  std::vector<uint16_t> words;
  double height = 0.0;
  for (int segment = 0; segment < 16 && !in.AtEnd(); ++segment) {
    const size_t samples = in.Byte() + 1u;
    const double rate = static_cast<int8_t>(in.Byte()) * 2.0;
    const uint8_t flags = in.Byte();
    const double scatter = flags >> 2;
    for (size_t i = 0; i < samples && words.size() < kMostSamples; ++i) {
      height += rate * kSecondsPerSample;
      const int32_t adc = sensor.AdcForAltitude(ground + height + scatter * Scatter(words.size()));
      words.push_back(MakeSampleWord(std::clamp(adc, 0, 1023), flags & 3));
    }
  }
  return words;
}

std::vector<uint16_t> RawWords(ByteReader& in) {
  std::vector<uint16_t> words;
  while (!in.AtEnd() && words.size() < kMostSamples) {
    const uint8_t low = in.Byte();
    words.push_back(static_cast<uint16_t>(low | in.Byte() << 8));
  }
  return words;
}

DataSet SetOf(const std::vector<uint16_t>& words, int32_t calibrationOffset) {
  DataSet set;
  set.Build(PacketsOfSet(words), words.empty() ? -1 : 0, calibrationOffset, 0);
  return set;
}

void ExpectFinite(const char* what, const std::optional<double>& value) {
  if (value && !std::isfinite(*value)) Fail("not finite:", what);
}

void ExpectInSet(const char* what, const std::optional<double>& seconds, const FlightStats& stats) {
  ExpectFinite(what, seconds);
  if (seconds && (*seconds < 0.0 || *seconds > stats.durationS)) {
    Fail("outside the set:", std::string(what) + " at " + std::to_string(*seconds) + " s of " +
                                 std::to_string(stats.durationS) + " s");
  }
}

void ExpectDescent(const char* what, const std::optional<DescentRate>& descent, const FlightStats& stats) {
  if (!descent) return;
  ExpectFinite(what, descent->rate);
  ExpectFinite(what, descent->error);
  ExpectInSet(what, descent->fromS, stats);
  ExpectInSet(what, descent->toS, stats);
  if (descent->fromS > descent->toS) Fail("a window that ends before it starts:", what);
}

void CheckStats(const FlightStats& stats) {
  ExpectFinite("duration", stats.durationS);
  ExpectFinite("pad level", stats.padLevel);
  ExpectFinite("top speed", stats.topSpeed);
  ExpectFinite("acceleration", stats.acceleration);
  ExpectFinite("apogee", stats.apogee);
  ExpectFinite("flight time", stats.FlightTimeS());
  const std::pair<const char*, std::optional<double>> events[] = {
      {"launch", stats.launchS}, {"burn-out", stats.burnOutS}, {"apogee", stats.apogeeS}, {"landing", stats.landingS}};
  const char* previous = nullptr;
  double previousS = 0.0;
  for (const auto& [name, seconds] : events) {
    ExpectInSet(name, seconds, stats);
    if (!seconds) continue;
    if (previous != nullptr && *seconds < previousS) Fail("out of order:", std::string(name) + " before " + previous);
    previous = name;
    previousS = *seconds;
  }
  for (const auto& firing : {stats.lineA, stats.lineB}) {
    if (!firing) continue;
    ExpectInSet("firing", firing->timeS, stats);
    ExpectFinite("firing altitude", firing->altitude);
  }
  ExpectDescent("descent", stats.descent, stats);
  ExpectDescent("final descent", stats.finalDescent, stats);
}

bool HasNanOrInf(const std::string& text) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find("nan") != std::string::npos || lower.find("inf") != std::string::npos;
}

void ExpectNumbersOnly(const char* what, const std::string& text) {
  if (HasNanOrInf(text)) Fail(what, text);
}

void CheckTexts(const FlightStats& stats) {
  const std::vector<FlightRecord> flights{{"flight.zel", 1, "", stats}};
  for (const UnitSystem units : {UnitSystem::Metric, UnitSystem::Imperial}) {
    for (const StatRow& row : FlightStatRows(stats, units)) ExpectNumbersOnly("a row:", row.value + ' ' + row.detail);
    for (const auto write : {WriteStatsText, WriteStatsCsv, WriteStatsJson}) {
      std::ostringstream out;
      write(out, flights, units);
      ExpectNumbersOnly("zeltool stats:", out.str());
    }
  }
}

bool EndsWith(const std::string& text, const std::string& end) {
  const size_t last = text.find_last_not_of(" \r\n");
  return last != std::string::npos && last + 1 >= end.size() &&
         text.compare(last + 1 - end.size(), end.size(), end) == 0;
}

void ExpectWholePage(const char* what, PageFormat format, bool written, const std::string& page) {
  if (!written) Fail(what, "was not written");
  if (!EndsWith(page, format == PageFormat::Pdf ? "%%EOF" : "</svg>")) Fail(what, "does not end as its format ends");
  // A PDF's streams are compressed; an SVG's numbers are text.
  if (format == PageFormat::Svg && HasNanOrInf(page)) Fail(what, "has \"nan\" or \"inf\" in its SVG");
}

struct Flight {
  DataSet set;
  FlightStats stats;
};

// The comparison's other flight, the same for every input.
const Flight& Reference() {
  static const Flight reference = [] {
    FlightParameters parameters;
    parameters.rules.maxReadings = 400;
    Flight flight{SetOf(RecordFlight(parameters).words, 0), {}};
    flight.stats = ComputeFlightStats(flight.set);
    return flight;
  }();
  return reference;
}

void CheckReport(const Flight& flight, PageFormat format, UnitSystem units) {
  const ReportContent report = ReportOf("flight.zel, set 0", "", 0, flight.set, flight.stats, units);
  std::ostringstream out;
  const bool written = WriteReportPage(report, kA4Page, format, out);
  ExpectWholePage("the report", format, written, out.str());
}

void CheckComparison(const Flight& flight, PageFormat format, UnitSystem units) {
  const Flight& reference = Reference();
  ComparisonContent comparison;
  comparison.chart = ComparisonChart({CompareFlight(flight.set, flight.stats, units, ComparisonPalette()[0]),
                                      CompareFlight(reference.set, reference.stats, units, ComparisonPalette()[1])},
                                     units);
  comparison.flights = {ComparedFlightOf("flight.zel, set 0", "", flight.stats, units),
                        ComparedFlightOf("reference.zel, set 0", "", reference.stats, units)};
  std::ostringstream out;
  const bool written = WriteComparisonPage(comparison, format, out);
  ExpectWholePage("the comparison", format, written, out.str());
}

std::vector<uint16_t> WordsOf(uint8_t how, ByteReader& in) {
  switch (how & 3) {
    case 0:
      return ModelFlightWords(in);
    case 1:
      return ProfileWords(in);
    default:
      return RawWords(in);
  }
}

PageFormat FormatOf(bool svg) { return svg ? PageFormat::Svg : PageFormat::Pdf; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  DebugLog.rdbuf(nullptr);  // the sets' smoothing trace goes nowhere
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ByteReader in(data, size);
  const uint8_t how = in.Byte();
  const int32_t calibrationOffset = (how >> 5) - 4;
  Flight flight{SetOf(WordsOf(how, in), calibrationOffset), {}};
  flight.stats = ComputeFlightStats(flight.set);
  CheckStats(flight.stats);
  CheckTexts(flight.stats);
  const UnitSystem pageUnits = (how & 0x10) != 0 ? UnitSystem::Imperial : UnitSystem::Metric;
  CheckReport(flight, FormatOf((how & 0x04) != 0), pageUnits);
  CheckComparison(flight, FormatOf((how & 0x08) != 0), pageUnits);
  return 0;
}
