#include "data/FastSet.h"

#include "data/DataPacket.h"
#include "data/SensorConverter.h"
#include "data/Truncate.h"

namespace {

constexpr float kSamplesPerSecond = 10.0f;
constexpr size_t kSamplesPerWidthStep = 50;
constexpr int32_t kSecondsPerWidthStep = 5;

}  // namespace

void FastSet::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  trace_.samples.clear();
  trace_.peakTime = 0.0f;
  trace_.peakAltitude = 0.0f;
}

void FastSet::AddSample(uint16_t word, int32_t calibrationOffset) {
  if (word == kNoSample) return;
  SensorConverter converter;
  converter.SetOffset(calibrationOffset);
  const double altitude = converter.Altitude(SampleAdc(word));

  std::lock_guard<std::mutex> lock(mutex_);
  if (trace_.samples.empty()) trace_.groundAltitude = altitude;
  const double height = altitude - trace_.groundAltitude;
  trace_.samples.push_back(height);
  const size_t count = trace_.samples.size();
  if (trace_.peakAltitude < height) {
    trace_.peakAltitude = static_cast<float>(height);
    trace_.peakTime = static_cast<float>(count - 1) / kSamplesPerSecond;
  }
  const size_t widthSteps = (count + kSamplesPerWidthStep) / kSamplesPerWidthStep;
  trace_.range = ViewRange{0, 0, static_cast<int32_t>(widthSteps) * kSecondsPerWidthStep,
                           TruncateToInt32(trace_.peakAltitude)};
}

FastTrace FastSet::Snapshot() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return trace_;
}
