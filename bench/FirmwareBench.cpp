// A full 64 KiB firmware update against the simulated bootloader answering at
// once: what the host itself spends on each report. Over USB a full image is
// about 4 reports x 1,024 blocks, some 4.1 s; the host's share should stay
// under 0.5% of that, about 5 us a report. The figure includes the simulated
// device's own work, so the host alone costs less.
//
// Then the same update paced like the device, against that floor.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "device/FirmwareFile.h"
#include "sim/SimBootloader.h"

namespace {

constexpr int kReportsPerFullUpdate = 2 + 4 * (kFirmwareLastBlock + 1);  // hardware query and answer, 4 per block

// 64 KiB in which no block is empty, so every block is sent.
FirmwareImage FullImage() {
  std::vector<uint8_t> plain(kFirmwareImageSize);
  for (size_t i = 0; i < plain.size(); ++i) plain[i] = static_cast<uint8_t>(i * 7 + 3);
  return *FirmwareImage::FromPlain(plain);
}

// Full updates against a bootloader that takes and answers one report per
// `pacingMs` each way (0: at once); each update's time is also the iteration's
// manual time. Returns the seconds of all of them.
double RunFullUpdates(benchmark::State& state, unsigned pacingMs) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "zel-bench-firmware.dat";
  if (!SaveFirmwareFile(file, FullImage(), 0x0103, 0x0142)) {
    state.SkipWithError("the firmware file cannot be written");
    return 0.0;
  }
  SimHidBackend backend;
  const auto device = PlugSimBootloader(backend, std::make_shared<SimBootloader>());
  device->SetReplyDelayMs(pacingMs);
  device->SetWriteIntervalMs(pacingMs);
  AltimeterLink link(backend);
  if (link.Connect(nullptr, true) != 1) {
    state.SkipWithError("the simulated bootloader is not found");
    return 0.0;
  }
  const std::string path = file.string();
  const RedirectedDebugLog silenced;  // a line per block would measure the terminal
  double seconds = 0.0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    if (link.UpdateFirmware(nullptr, nullptr, path, nullptr, nullptr, nullptr, nullptr) != 0) {
      state.SkipWithError("the update failed");
      break;
    }
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(elapsed);
    seconds += elapsed;
  }
  std::filesystem::remove(file);
  return seconds;
}

void FullFirmwareUpdate(benchmark::State& state) {
  RunFullUpdates(state, 0);
  state.counters["per_report"] = benchmark::Counter(
      kReportsPerFullUpdate, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(FullFirmwareUpdate)->Unit(benchmark::kMillisecond);

// The same update paced like the device, one report per millisecond each way
// and a frame of its own for each answer, in real time: against the floor of
// all 4,098 reports at one a millisecond.
void PacedFullFirmwareUpdate(benchmark::State& state) {
  const double seconds = RunFullUpdates(state, 1);
  const double floorSeconds = kReportsPerFullUpdate / 1000.0;
  if (state.iterations() == 0) return;
  state.counters["vs_floor"] = seconds / static_cast<double>(state.iterations()) / floorSeconds;
}
BENCHMARK(PacedFullFirmwareUpdate)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
