#pragma once
// The series of one set of the packet list, converted and smoothed. Every
// series has one entry per sample; sample i lies at i * 0.1 s.
#include <cstdint>
#include <vector>

#include "data/DataPacket.h"

class DataSet {
 public:
  std::vector<int32_t> adc;               // ADC count, bits 13..4 of the word
  std::vector<double> voltage;            // V
  std::vector<double> pressure;           // kPa
  std::vector<double> altitudeMsl;        // m above sea level
  std::vector<double> altitudeAgl;        // m above the first sample
  std::vector<double> smoothedAltitude;   // m
  std::vector<double> velocity;           // m/s, from smoothedAltitude
  std::vector<double> smoothedVelocity;   // m/s
  std::vector<double> smoothedVelocityKmh;
  std::vector<uint8_t> lineFlags;         // 2 = Line A, 1 = Line B, 3 = both
  int32_t setNumber = 0;                  // the set last built, found or not

  // Rebuilds every series from the set whose start packet is packets[startIndex],
  // with `calibrationOffset` added to each ADC count. A negative startIndex
  // leaves the series empty; setNumber is stored either way. Writes each
  // altitude smoothing weight to DebugLog followed by a blank, without a line end.
  void Build(const std::vector<DataPacket>& packets, int32_t startIndex, int32_t calibrationOffset,
             int32_t setNumber);
  // Empties every series; setNumber stays.
  void Clear();
  int32_t SampleCount() const { return static_cast<int32_t>(adc.size()); }
  bool IsEmpty() const { return adc.empty(); }
  // The first index of the largest value of `series`; -1 when this set or
  // the series is empty.
  int32_t IndexOfMaximum(const std::vector<double>& series) const;
  // Recomputes smoothedAltitude, velocity, smoothedVelocity and
  // smoothedVelocityKmh from altitudeAgl (the last step of Build, with its log).
  // A one-sample set smooths to the sample itself and has velocity 0.
  void Smooth();

 private:
  void CollectSamples(const std::vector<DataPacket>& packets, int32_t startIndex);
  void Convert(int32_t calibrationOffset);
};
