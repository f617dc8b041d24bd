#pragma once
// A made-up flight as the altimeter records it, for file and export tests:
// ground at 300 m, a climb of about 400 m over 12 s, a descent at 6 m/s, a
// little sensor noise, Line A firing for 2 s at apogee and Line B for 2 s at
// 150 m on the way down.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "data/DataPacket.h"
#include "data/SensorConverter.h"

inline uint16_t SyntheticFlightWord(int sample) {
  const double t = sample / 10.0;
  const double above = t < 12.0 ? 400.0 * std::sin(t / 12.0 * 1.5707963267948966)
                                : std::max(0.0, 400.0 - 6.0 * (t - 12.0));
  const double altitude = 300.0 + above + ((sample * 7) % 5 - 2) * 0.8;
  const int32_t adc = SensorConverter().AdcForAltitude(altitude);
  const bool lineA = t >= 12.0 && t < 14.0;
  const bool lineB = t >= 53.0 && t < 55.0;
  return static_cast<uint16_t>((lineA ? 0x8000 : 0) | (lineB ? 0x4000 : 0) | (adc << 4));
}

// One set of `samples` samples: a start packet, then continuation packets;
// the last one is filled up with no-sample words.
inline std::vector<DataPacket> SyntheticFlight(int samples) {
  std::vector<DataPacket> packets;
  for (int i = 0; i < samples; ++i) {
    if (i % kWordsPerPacket == 0) {
      packets.push_back(DataPacket::MakeEmpty());
      packets.back().kind = packets.size() == 1 ? kStartPacketKind : 1;
      packets.back().secondByte = static_cast<uint8_t>(packets.size());
    }
    packets.back().SetWord(i % kWordsPerPacket, SyntheticFlightWord(i));
  }
  return packets;
}
