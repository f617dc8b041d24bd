#pragma once
// Firmware files for tests, made by our own encoder and then bent field by
// field into the damaged or foreign files the loader must refuse.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/FirmwareFile.h"
#include "device/LittleEndian.h"
#include "support/TempFolder.h"

constexpr uint16_t kUntouched = 0xBEEF;  // an output nobody wrote

// A plain binary of `size` bytes in which no 64-byte block is all 0xFF.
inline std::vector<uint8_t> PatternBinary(size_t size) {
  std::vector<uint8_t> plain(size);
  for (size_t i = 0; i < size; ++i) plain[i] = static_cast<uint8_t>(i * 7 + 3);
  return plain;
}

// What a test firmware file holds; the defaults make a good one.
struct FirmwareFileRecipe {
  std::vector<uint8_t> plain = PatternBinary(256);
  uint16_t formatVersion = 0x0100;
  uint16_t bootloaderVersion = 0x0103;
  uint16_t firmwareVersion = 0x0142;
  std::optional<int32_t> length;  // the length field, when not the plain binary's size
  size_t fileSize = kFirmwareFileSize;
  bool wrongMagic = false;
};

inline std::vector<uint8_t> FirmwareFileBytes(const FirmwareFileRecipe& recipe) {
  std::vector<uint8_t> bytes =
      EncodeFirmwareFile(*FirmwareImage::FromPlain(recipe.plain), recipe.bootloaderVersion, recipe.firmwareVersion);
  WriteLittleEndian16(&bytes[16], recipe.formatVersion);
  if (recipe.length) WriteLittleEndian32(&bytes[kFirmwareFileSize - 4], static_cast<uint32_t>(*recipe.length));
  if (recipe.wrongMagic) bytes[7] ^= 0x01;
  bytes.resize(recipe.fileSize);
  return bytes;
}

inline void WriteFirmwareFile(const std::filesystem::path& path, const FirmwareFileRecipe& recipe) {
  const std::vector<uint8_t> bytes = FirmwareFileBytes(recipe);
  WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

inline std::vector<uint8_t> ReadFileVector(const std::filesystem::path& path) {
  const std::string bytes = ReadFileBytes(path);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}
