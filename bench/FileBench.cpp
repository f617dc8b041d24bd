// How long the file operations take on a full memory (128 packets, 3968
// samples): loading its data set file, and exporting it as CSV and XML, both
// as the program does (rebuild the set, write beside, replace) and as the
// text formatting alone.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <sstream>

#include "base/DebugLog.h"
#include "data/CsvExport.h"
#include "data/XmlExport.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "tests/data/FlightFixtures.h"
#include "tests/support/TempFolder.h"

namespace {

constexpr int kRepetitions = 7;


// A link holding a full memory of one flight, saved as full.zel in `folder`.
struct FullMemory {
  explicit FullMemory(const TempFolder& folder) {
    link.packets = ModelledFlight(128 * kWordsPerPacket).packets;
    link.comments = {"full memory"};
    link.SaveDataSet(folder.WidePath("full.zel"), 0);
    link.ComputeDataSet(0);
  }

  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
};

void LoadFullMemory(benchmark::State& state) {
  const RedirectedDebugLog quiet;  // the smoothing trace would dominate
  const TempFolder folder;
  FullMemory full(folder);
  for (auto _ : state) benchmark::DoNotOptimize(full.link.LoadDataSet(folder.WidePath("full.zel")));
}

void ExportFullMemory(benchmark::State& state, bool (AltimeterLink::*exportSet)(const std::filesystem::path&, int)) {
  const RedirectedDebugLog quiet;  // the smoothing trace would dominate
  const TempFolder folder;
  FullMemory full(folder);
  for (auto _ : state) benchmark::DoNotOptimize((full.link.*exportSet)(folder.WidePath("export"), 0));
}

void FormatFullMemory(benchmark::State& state, bool xml) {
  const RedirectedDebugLog quiet;  // the smoothing trace would dominate
  const TempFolder folder;
  FullMemory full(folder);
  for (auto _ : state) {
    std::ostringstream out;
    benchmark::DoNotOptimize(xml ? WriteXml(out, full.link.currentSet, nullptr) : WriteCsv(out, full.link.currentSet));
  }
}

}  // namespace

BENCHMARK(LoadFullMemory)->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ExportFullMemory, Csv, &AltimeterLink::ExportCsv)
    ->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ExportFullMemory, Xml, &AltimeterLink::ExportXml)
    ->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(FormatFullMemory, Csv, false)
    ->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(FormatFullMemory, Xml, true)
    ->Unit(benchmark::kMicrosecond)->Repetitions(kRepetitions)->ReportAggregatesOnly(true);
