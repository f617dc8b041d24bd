#pragma once
// One 64-byte block of the altimeter's flight memory. Files keep it byte for
// byte as held here, so it stays a trivially copyable struct of bytes; the
// sample words are assembled explicitly so the layout does not depend on the
// host's byte order.
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

constexpr uint8_t kStartPacketKind = 2;     // first packet of a set
constexpr uint8_t kErasedPacketKind = 0xFF;  // end of the recorded memory
constexpr int kWordsPerPacket = 31;
constexpr uint16_t kNoSample = 0xFFFF;  // ends the samples of its packet

struct DataPacket {
  uint8_t kind;
  uint8_t secondByte;  // high byte of the block header; carried, never interpreted
  std::array<uint8_t, 2 * kWordsPerPacket> wordBytes;  // little-endian

  // Kind 0xFF, second byte 0, every word kNoSample.
  static DataPacket MakeEmpty();

  bool IsStart() const { return kind == kStartPacketKind; }
  bool IsErased() const { return kind == kErasedPacketKind; }

  // Sample word k, 0 <= k < kWordsPerPacket.
  uint16_t Word(int k) const;
  void SetWord(int k, uint16_t word);
};

constexpr size_t kPacketSize = 64;
static_assert(sizeof(DataPacket) == kPacketSize, "a packet is stored as exactly 64 bytes");
static_assert(std::is_trivially_copyable_v<DataPacket>, "packets are stored byte for byte");

// Fields of a sample word.
constexpr int32_t SampleAdc(uint16_t word) { return (word >> 4) & 0x3FF; }
constexpr uint8_t SampleLineFlags(uint16_t word) { return static_cast<uint8_t>((word >> 14) & 3); }
