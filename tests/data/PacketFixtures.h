#pragma once
// Packets for tests, written as kinds and sample words.
#include <cstdint>
#include <string>
#include <vector>

#include "data/DataPacket.h"

// A sample word holding an ADC count and the two line flags.
inline uint16_t SampleWord(int32_t adc, uint8_t lineFlags = 0) {
  return static_cast<uint16_t>((lineFlags << 14) | (adc << 4));
}

// A packet of `kind` whose first words are `words`; the rest hold no sample.
inline DataPacket MakePacket(uint8_t kind, const std::vector<uint16_t>& words) {
  DataPacket packet = DataPacket::MakeEmpty();
  packet.kind = kind;
  for (size_t k = 0; k < words.size(); ++k) packet.SetWord(static_cast<int>(k), words[k]);
  return packet;
}

// One packet per letter: 'S' start, 'c' continuation, 'E' erased; each holds
// one sample.
inline std::vector<DataPacket> PacketsOfKinds(const std::string& kinds) {
  std::vector<DataPacket> packets;
  for (const char letter : kinds) {
    const uint8_t kind = letter == 'S' ? kStartPacketKind : letter == 'E' ? kErasedPacketKind : 1;
    packets.push_back(MakePacket(kind, {SampleWord(836)}));
  }
  return packets;
}
