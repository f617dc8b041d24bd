// A full 64 KiB firmware update against the simulated bootloader answering at
// once: what the host itself spends on each report. Over USB a full image is
// about 4 reports x 1,024 blocks, some 4.1 s; the host's share should stay
// under 0.5% of that, about 5 us a report. The figure includes the simulated
// device's own work, so the host alone costs less.
#include <benchmark/benchmark.h>

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

void FullFirmwareUpdate(benchmark::State& state) {
  const std::filesystem::path file = std::filesystem::temp_directory_path() / "zel-bench-firmware.dat";
  if (!SaveFirmwareFile(file, FullImage(), 0x0103, 0x0142)) {
    state.SkipWithError("the firmware file cannot be written");
    return;
  }
  SimHidBackend backend;
  PlugSimBootloader(backend, std::make_shared<SimBootloader>());
  AltimeterLink link(backend);
  if (link.Connect(nullptr, true) != 1) {
    state.SkipWithError("the simulated bootloader is not found");
    return;
  }
  const std::string path = file.string();
  const RedirectedDebugLog silenced;  // a line per block would measure the terminal
  for (auto _ : state) {
    if (link.UpdateFirmware(nullptr, nullptr, path, nullptr, nullptr, nullptr, nullptr) != 0) {
      state.SkipWithError("the update failed");
      break;
    }
  }
  std::filesystem::remove(file);
  state.counters["per_report"] = benchmark::Counter(
      kReportsPerFullUpdate, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(FullFirmwareUpdate)->Unit(benchmark::kMillisecond);

}  // namespace
