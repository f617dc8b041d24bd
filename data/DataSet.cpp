#include "data/DataSet.h"

#include <algorithm>

#include "base/DebugLog.h"
#include "data/AdaptiveFilter.h"
#include "data/SampleWindow.h"
#include "data/SensorConverter.h"
#include "data/SetDirectory.h"

namespace {

constexpr double kVelocityWeightCap = 0.8;
constexpr int kVelocityHalfWindow = 5;  // a one-second climb in mid-set
constexpr double kSamplesPerSecond = 10.0;
constexpr double kKmhPerMetrePerSecond = 3.6;

// Climb rate in m/s over a window of +-5 samples; 0 where the window has no
// span (a one-sample set).
std::vector<double> VelocityOf(const std::vector<double>& altitude) {
  const int n = static_cast<int>(altitude.size());
  std::vector<double> velocity(altitude.size(), 0.0);
  for (int i = 0; i < n; ++i) {
    const SampleWindow window = WindowAround(i, n, kVelocityHalfWindow);
    if (window.Span() == 0) continue;
    velocity[i] = (altitude[i + window.hi] - altitude[i + window.lo]) / (window.Span() / kSamplesPerSecond);
  }
  return velocity;
}

// The altitude filter's weights as the log shows them: each followed by a blank.
struct WeightTrace {
  std::vector<double> weights;
};

std::ostream& operator<<(std::ostream& out, const WeightTrace& trace) {
  for (const double weight : trace.weights) out << weight << ' ';
  return out;
}

}  // namespace

void DataSet::Build(const std::vector<DataPacket>& packets, int32_t startIndex, int32_t calibrationOffset,
                    int32_t number) {
  Clear();
  setNumber = number;
  if (startIndex < 0) return;
  CollectSamples(packets, startIndex);
  Convert(calibrationOffset);
  Smooth();
}

void DataSet::Clear() {
  adc.clear();
  voltage.clear();
  pressure.clear();
  altitudeMsl.clear();
  altitudeAgl.clear();
  smoothedAltitude.clear();
  velocity.clear();
  smoothedVelocity.clear();
  smoothedVelocityKmh.clear();
  lineFlags.clear();
}

int32_t DataSet::IndexOfMaximum(const std::vector<double>& series) const {
  if (IsEmpty() || series.empty()) return -1;
  size_t best = 0;
  for (size_t i = 1; i < series.size(); ++i) {
    if (series[i] > series[best]) best = i;
  }
  return static_cast<int32_t>(best);
}

void DataSet::CollectSamples(const std::vector<DataPacket>& packets, int32_t startIndex) {
  // The packets a save writes back: a set also ends at an erased packet.
  const int32_t end = startIndex + PacketsOfSetAt(packets, startIndex);
  for (int32_t p = startIndex; p < end; ++p) {
    for (int k = 0; k < kWordsPerPacket; ++k) {
      const uint16_t word = packets[p].Word(k);
      if (word == kNoSample) break;
      adc.push_back(SampleAdc(word));
      lineFlags.push_back(SampleLineFlags(word));
    }
  }
}

void DataSet::Convert(int32_t calibrationOffset) {
  SensorConverter converter;
  converter.SetOffset(calibrationOffset);
  for (const int32_t count : adc) {
    voltage.push_back(converter.Voltage(count));
    pressure.push_back(converter.Pressure(count));
    altitudeMsl.push_back(converter.Altitude(count));
  }
  for (const double msl : altitudeMsl) altitudeAgl.push_back(msl - altitudeMsl.front());
}

void DataSet::Smooth() {
  WeightTrace trace;
  smoothedAltitude = AdaptiveFilter(altitudeAgl, kNoWeightCap, &trace.weights);
  DebugLog << trace;
  velocity = VelocityOf(smoothedAltitude);
  smoothedVelocity = AdaptiveFilter(velocity, kVelocityWeightCap, nullptr);
  smoothedVelocityKmh.resize(smoothedVelocity.size());
  std::transform(smoothedVelocity.begin(), smoothedVelocity.end(), smoothedVelocityKmh.begin(),
                 [](double v) { return v * kKmhPerMetrePerSecond; });
}
