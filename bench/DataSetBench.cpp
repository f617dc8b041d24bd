// How long a selection takes to rebuild the data set: a full memory of one
// flight and a typical flight.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <streambuf>
#include <vector>

#include "base/DebugLog.h"
#include "data/DataPacket.h"
#include "data/DataSet.h"
#include "data/SensorConverter.h"

namespace {

// Swallows the altitude weights so the benchmark measures the data set, not a terminal.
class NullBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

class SilencedLog {
 public:
  SilencedLog() : redirected_(&null_) {}

 private:
  NullBuffer null_;
  RedirectedDebugLog redirected_;
};

constexpr double kQuarterTurn = 1.5707963267948966;

// Ground at 300 m; a 12 s boost and coast to about 400 m above it, then a
// descent at 6 m/s, with a little sensor noise.
double FlightAltitude(int sample) {
  const double t = sample / 10.0;
  const double above = t < 12.0 ? 400.0 * std::sin(t / 12.0 * kQuarterTurn) : std::max(0.0, 400.0 - 6.0 * (t - 12.0));
  return 300.0 + above + ((sample * 7) % 5 - 2) * 0.8;
}

std::vector<DataPacket> OneSetOf(int samples) {
  const SensorConverter converter;
  std::vector<DataPacket> packets;
  for (int i = 0; i < samples; ++i) {
    if (i % kWordsPerPacket == 0) {
      packets.push_back(DataPacket::MakeEmpty());
      packets.back().kind = packets.size() == 1 ? kStartPacketKind : 1;
    }
    const int32_t adc = converter.AdcForAltitude(FlightAltitude(i));
    packets.back().SetWord(i % kWordsPerPacket, static_cast<uint16_t>(adc << 4));
  }
  return packets;
}

void BuildDataSet(benchmark::State& state) {
  const std::vector<DataPacket> packets = OneSetOf(static_cast<int>(state.range(0)));
  const SilencedLog silenced;
  DataSet set;
  for (auto _ : state) {
    set.Build(packets, 0, 0, 0);
    benchmark::DoNotOptimize(set.smoothedVelocityKmh.data());
  }
  state.counters["packets"] = static_cast<double>(packets.size());
}

}  // namespace

BENCHMARK(BuildDataSet)->Arg(600)->Arg(128 * kWordsPerPacket)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  InitDebugLog();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
