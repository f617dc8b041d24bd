#pragma once
// Little-endian fields of the bootloader's reports and the firmware file,
// assembled byte by byte so the host's own byte order never matters.
#include <cstdint>

inline uint16_t ReadLittleEndian16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

inline uint32_t ReadLittleEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(ReadLittleEndian16(bytes)) | static_cast<uint32_t>(ReadLittleEndian16(bytes + 2)) << 16;
}

inline void WriteLittleEndian16(uint8_t* bytes, uint16_t value) {
  bytes[0] = static_cast<uint8_t>(value);
  bytes[1] = static_cast<uint8_t>(value >> 8);
}

inline void WriteLittleEndian32(uint8_t* bytes, uint32_t value) {
  WriteLittleEndian16(bytes, static_cast<uint16_t>(value));
  WriteLittleEndian16(bytes + 2, static_cast<uint16_t>(value >> 16));
}
