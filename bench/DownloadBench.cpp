// A download of the whole flight memory (128 blocks, 4,481 reports) from the
// simulated altimeter answering at once: what the host spends on each report.
// Over full-speed USB one report per 1 ms frame takes about 4.5 s; the host's
// share should stay under 0.5% of that, 5 us a report. The figure includes the
// simulated device's own work. The log costs more than the protocol, so it is
// measured twice: off (a windowed program has no standard output) and written
// to a file, a line flushed at a time.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "sim/SimAltimeter.h"

namespace {

constexpr int kReportsPerFullDownload = 1 + 35 * kMemoryBlocks;  // the reset, then 35 per block

void Download(benchmark::State& state, std::streambuf* log) {
  SimHidBackend backend;
  PlugSimAltimeter(backend, std::make_shared<SimAltimeter>(PresetMemory(MemoryPreset::Full)));
  AltimeterLink link(backend);
  if (link.Connect(nullptr, false) != 1) {
    state.SkipWithError("the simulated altimeter is not found");
    return;
  }
  const RedirectedDebugLog target(log);  // null turns the log off
  for (auto _ : state) {
    if (link.ReadData(nullptr, nullptr) != 0 || link.packets.size() != kMemoryBlocks) {
      state.SkipWithError("the download failed");
      break;
    }
    link.fastSet.Reset();
  }
  state.counters["per_report"] = benchmark::Counter(
      kReportsPerFullDownload, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void FullDownload(benchmark::State& state) { Download(state, nullptr); }
BENCHMARK(FullDownload)->Unit(benchmark::kMillisecond);

void FullDownloadLoggedToFile(benchmark::State& state) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "zel-bench-download.log";
  {
    std::filebuf file;
    if (file.open(path, std::ios::out | std::ios::trunc) == nullptr) {
      state.SkipWithError("the log file cannot be written");
      return;
    }
    Download(state, &file);
  }
  std::filesystem::remove(path);
}
BENCHMARK(FullDownloadLoggedToFile)->Unit(benchmark::kMillisecond);

}  // namespace
