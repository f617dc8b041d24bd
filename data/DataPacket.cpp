#include "data/DataPacket.h"

#include <cassert>

DataPacket DataPacket::MakeEmpty() {
  DataPacket packet{};
  packet.kind = kErasedPacketKind;
  packet.secondByte = 0;
  packet.wordBytes.fill(0xFF);
  return packet;
}

uint16_t DataPacket::Word(int k) const {
  assert(k >= 0 && k < kWordsPerPacket);
  return static_cast<uint16_t>(wordBytes[2 * k] | (wordBytes[2 * k + 1] << 8));
}

void DataPacket::SetWord(int k, uint16_t word) {
  assert(k >= 0 && k < kWordsPerPacket);
  wordBytes[2 * k] = static_cast<uint8_t>(word & 0xFF);
  wordBytes[2 * k + 1] = static_cast<uint8_t>(word >> 8);
}
