#include "device/FirmwareImage.h"

#include <algorithm>

std::optional<FirmwareImage> FirmwareImage::FromPlain(const std::vector<uint8_t>& plain) {
  if (plain.empty() || plain.size() > kFirmwareImageSize) return std::nullopt;
  FirmwareImage firmware;
  std::copy(plain.begin(), plain.end(), firmware.image.begin());
  firmware.length = static_cast<int32_t>(plain.size());
  return firmware;
}

int FirmwareImage::LastBlockIndex() const {
  return std::min(length / static_cast<int32_t>(kFirmwareBlockSize), static_cast<int32_t>(kFirmwareLastBlock));
}

const uint8_t* FirmwareImage::Block(int index) const { return image.data() + BlockAddress(index); }

uint16_t FirmwareImage::BlockAddress(int index) { return static_cast<uint16_t>(index * kFirmwareBlockSize); }

bool FirmwareImage::IsBlockEmpty(int index) const {
  const uint8_t* block = Block(index);
  return std::all_of(block, block + kFirmwareBlockSize, [](uint8_t byte) { return byte == kErasedFlashByte; });
}
