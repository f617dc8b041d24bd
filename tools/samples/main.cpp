// zelsamples OUTDIR: writes a few sample flight files, recorded by the
// simulated altimeter's flight model, for demonstrations, tests and benchmarks.
// Prints the path of each file written; exits 1 when one cannot be written.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"

namespace {

struct Sample {
  const char* fileName;
  const char* comment;
  FlightParameters flight;
  uint16_t maxReadings;  // samples recorded at most
};

// The settings each sample was "flown" with; they travel in its file.
DeviceSettings SampleSettings(uint16_t maxReadings) {
  DeviceSettings settings;
  settings.maxReadings = maxReadings;
  settings.lineAMode = LineMode::Apogee;
  settings.lineBMode = LineMode::Altitude;
  settings.lineBValue = 100;
  settings.Build();
  return settings;
}

std::vector<Sample> Samples() {
  FlightParameters small;
  small.seed = 7;
  FlightParameters high = small;
  high.thrustN = 32.0;
  high.descentRateMs = 9.0;
  high.burnTimeS = 1.8;
  high.groundAltitudeM = 420.0;
  high.seed = 11;
  // Slow to come down, so that it fills the whole memory: 128 packets of 31 samples.
  FlightParameters full = high;
  full.thrustN = 60.0;
  full.burnTimeS = 2.5;
  full.descentRateMs = 2.0;
  full.seed = 3;
  return {{"sample-flight.zel", "Club launch, field A", small, 992},
          {"sample-high-flight.zel", "High flight, 32 N motor", high, 992},
          {"sample-full-memory.zel", "Full memory", full, 3968}};
}

bool WriteSample(AltimeterLink& link, const Sample& sample, const std::filesystem::path& folder) {
  const DeviceSettings settings = SampleSettings(sample.maxReadings);
  FlightParameters flight = sample.flight;
  flight.rules = FlightRules::Of(settings);
  const RecordedFlight recorded = RecordFlight(flight);
  link.settings = settings;
  {
    const auto data = link.LockData();
    link.packets = recorded.packets;
    link.comments.assign(1, sample.comment);
  }
  const std::filesystem::path path = folder / sample.fileName;
  if (!link.SaveDataSet(path.wstring(), 0)) return false;
  std::printf("%s\n", path.string().c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zelsamples OUTDIR\n");
    return 2;
  }
  const std::filesystem::path folder(argv[1]);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  NoDeviceBackend backend;
  AltimeterLink link(backend);
  DebugLog.rdbuf(nullptr);  // the file writer's trace would mix with the paths
  for (const Sample& sample : Samples()) {
    if (!WriteSample(link, sample, folder)) {
      std::fprintf(stderr, "zelsamples: cannot write %s\n", (folder / sample.fileName).string().c_str());
      return 1;
    }
  }
  return 0;
}
