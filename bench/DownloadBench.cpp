// A download of the whole flight memory (128 blocks, 4,481 reports) from the
// simulated altimeter answering at once: what the host spends on each report.
// Over full-speed USB one report per 1 ms frame takes about 4.5 s; the host's
// share should stay under 0.5% of that, 5 us a report. The figure includes the
// simulated device's own work. The log costs more than the protocol, so it is
// measured twice: off (a windowed program has no standard output) and written
// to a file, a line flushed at a time.
//
// Then the same download paced like the device, one report per millisecond
// each way, in real time: the settings and the memory as Download Data reads
// them, against the floor of the device's replies at one a millisecond.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

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

constexpr int kRepliesOfFullDownload =
    static_cast<int>(DeviceSettings::kImageSize) + 1 + kMemoryBlocks * (kWordsPerBlock + 1);

// When each block ended, in ms since the download started.
struct BlockClock {
  using Clock = std::chrono::steady_clock;
  static void OnProgress(void* context, int, bool inBlock, bool) {
    auto& clock = *static_cast<BlockClock*>(context);
    if (!inBlock) clock.ends.push_back(std::chrono::duration<double, std::milli>(Clock::now() - clock.start).count());
  }
  // The slowest block's time; the first block also carries the reset.
  double SlowestBlockMs() const {
    double slowest = 0.0;
    for (size_t i = 1; i < ends.size(); ++i) slowest = std::max(slowest, ends[i] - ends[i - 1]);
    return slowest;
  }
  Clock::time_point start = Clock::now();
  std::vector<double> ends;
};

void PacedFullDownload(benchmark::State& state) {
  SimHidBackend backend;
  const auto device = PlugSimAltimeter(backend, std::make_shared<SimAltimeter>(PresetMemory(MemoryPreset::Full)));
  device->SetReplyDelayMs(1);
  device->SetWriteIntervalMs(1);
  AltimeterLink link(backend);
  if (link.Connect(nullptr, false) != 1) {
    state.SkipWithError("the simulated altimeter is not found");
    return;
  }
  const RedirectedDebugLog quiet;
  double slowestBlockMs = 0.0;
  double seconds = 0.0;
  for (auto _ : state) {
    BlockClock clock;
    if (link.ReadSettings() != 0 || link.ReadData(&BlockClock::OnProgress, &clock) != 0 ||
        link.packets.size() != kMemoryBlocks) {
      state.SkipWithError("the download failed");
      break;
    }
    const double elapsed = std::chrono::duration<double>(BlockClock::Clock::now() - clock.start).count();
    state.SetIterationTime(elapsed);
    seconds += elapsed;
    slowestBlockMs = std::max(slowestBlockMs, clock.SlowestBlockMs());
    link.fastSet.Reset();
  }
  const double floorSeconds = kRepliesOfFullDownload / 1000.0;
  state.counters["vs_floor"] = seconds / static_cast<double>(state.iterations()) / floorSeconds;
  state.counters["slowest_block_ms"] = slowestBlockMs;
}
BENCHMARK(PacedFullDownload)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
