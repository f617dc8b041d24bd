#pragma once
// A firmware image as the bootloader receives it: 65,536 plain bytes in 1,024
// blocks of 64, and the length in bytes named by its firmware file.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

constexpr size_t kFirmwareImageSize = 65536;
constexpr size_t kFirmwareBlockSize = 64;
constexpr int kFirmwareLastBlock = static_cast<int>(kFirmwareImageSize / kFirmwareBlockSize) - 1;  // 1023
constexpr uint8_t kErasedFlashByte = 0xFF;

struct FirmwareImage {
  // As read from the file; the blocks to send are 0 to length / 64.
  int32_t length = 0;
  // Always kFirmwareImageSize bytes; erased flash (0xFF) until loaded.
  std::vector<uint8_t> image = std::vector<uint8_t>(kFirmwareImageSize, kErasedFlashByte);

  // A plain firmware binary: its bytes followed by 0xFF, length = its size.
  // Nothing for an empty binary or one larger than the image.
  static std::optional<FirmwareImage> FromPlain(const std::vector<uint8_t>& plain);

  // length / 64, but never past the image's last block: a length field of
  // 65,536 or more would otherwise name blocks that do not exist.
  int LastBlockIndex() const;
  // The 64 bytes of block `index`, 0 <= index <= kFirmwareLastBlock.
  const uint8_t* Block(int index) const;
  // Device address of block `index`.
  static uint16_t BlockAddress(int index);
  // All 64 bytes 0xFF: already what erased flash holds, so it is not sent.
  bool IsBlockEmpty(int index) const;
};
