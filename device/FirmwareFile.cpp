#include "device/FirmwareFile.h"

#include <algorithm>
#include <array>
#include <fstream>

#include "base/DebugLog.h"
#include "data/SafeFileWriter.h"
#include "device/LittleEndian.h"

namespace {

constexpr std::array<uint8_t, 16> kFirmwareMagic = {0x30, 0xFF, 0xBE, 0x3D, 0x61, 0xB9, 0x71, 0x4A,
                                                    0xB1, 0xE7, 0x91, 0x36, 0x63, 0x93, 0x0E, 0xC2};
constexpr size_t kFormatVersionOffset = 16;
constexpr size_t kBootloaderVersionOffset = 18;
constexpr size_t kFirmwareVersionOffset = 20;
constexpr size_t kImageOffset = 22;
constexpr size_t kLengthOffset = kImageOffset + kFirmwareImageSize;
static_assert(kLengthOffset + 4 == kFirmwareFileSize, "the length field ends the file");

// Scrambling and unscrambling are the same XOR.
void ToggleScrambling(uint8_t* image) {
  for (size_t i = 0; i < kFirmwareImageSize; i += 2) {
    image[i] ^= static_cast<uint8_t>(kFirmwareScrambleKey);
    image[i + 1] ^= static_cast<uint8_t>(kFirmwareScrambleKey >> 8);
  }
}

bool ReadExactly(std::istream& in, uint8_t* bytes, size_t count) {
  in.read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(count));
  return static_cast<size_t>(in.gcount()) == count;
}

// `value` changes only when both bytes were there.
bool ReadWord(std::istream& in, uint16_t& value) {
  uint8_t bytes[2];
  if (!ReadExactly(in, bytes, sizeof bytes)) return false;
  value = ReadLittleEndian16(bytes);
  return true;
}

// Everything after the format version.
int ReadVersionsImageAndLength(std::istream& in, FirmwareImage& firmware, uint16_t& bootloaderVersion,
                               uint16_t& firmwareVersion) {
  FirmwareImage loaded;
  uint8_t length[4];
  if (!ReadWord(in, bootloaderVersion) || !ReadWord(in, firmwareVersion) ||
      !ReadExactly(in, loaded.image.data(), kFirmwareImageSize) || !ReadExactly(in, length, sizeof length)) {
    return kFirmwareFileEndsEarly;
  }
  loaded.length = static_cast<int32_t>(ReadLittleEndian32(length));
  if (loaded.length <= 0) return kFirmwareFileNoLength;
  ToggleScrambling(loaded.image.data());
  firmware = std::move(loaded);
  return kFirmwareFileLoaded;
}

int ReadFirmwareFile(std::ifstream& in, FirmwareImage& firmware, uint16_t& fileFormatVersion,
                     uint16_t& bootloaderVersion, uint16_t& firmwareVersion) {
  if (!in.is_open()) return kFirmwareFileCannotOpen;
  DebugLog << "Reading file." << std::endl;
  std::array<uint8_t, 16> magic;
  if (!ReadExactly(in, magic.data(), magic.size())) return kFirmwareFileEndsEarly;
  if (magic != kFirmwareMagic) return kFirmwareFileWrongMagic;
  if (!ReadWord(in, fileFormatVersion)) return kFirmwareFileEndsEarly;
  if (fileFormatVersion != kFirmwareFileFormatVersion) return kFirmwareFileWrongFormatVersion;
  return ReadVersionsImageAndLength(in, firmware, bootloaderVersion, firmwareVersion);
}

}  // namespace

int LoadFirmwareFile(const std::filesystem::path& path, FirmwareImage& firmware, uint16_t& fileFormatVersion,
                     uint16_t& bootloaderVersion, uint16_t& firmwareVersion) {
  std::ifstream in(path, std::ios::binary);
  return ReadFirmwareFile(in, firmware, fileFormatVersion, bootloaderVersion, firmwareVersion);
}

std::vector<uint8_t> EncodeFirmwareFile(const FirmwareImage& firmware, uint16_t bootloaderVersion,
                                        uint16_t firmwareVersion) {
  std::vector<uint8_t> bytes(kFirmwareFileSize);
  std::copy(kFirmwareMagic.begin(), kFirmwareMagic.end(), bytes.begin());
  WriteLittleEndian16(&bytes[kFormatVersionOffset], kFirmwareFileFormatVersion);
  WriteLittleEndian16(&bytes[kBootloaderVersionOffset], bootloaderVersion);
  WriteLittleEndian16(&bytes[kFirmwareVersionOffset], firmwareVersion);
  std::copy(firmware.image.begin(), firmware.image.end(), bytes.begin() + kImageOffset);
  ToggleScrambling(&bytes[kImageOffset]);
  WriteLittleEndian32(&bytes[kLengthOffset], static_cast<uint32_t>(firmware.length));
  return bytes;
}

bool SaveFirmwareFile(const std::filesystem::path& path, const FirmwareImage& firmware, uint16_t bootloaderVersion,
                      uint16_t firmwareVersion) {
  const std::vector<uint8_t> bytes = EncodeFirmwareFile(firmware, bootloaderVersion, firmwareVersion);
  SafeFileWriter writer(path);
  writer.Stream().write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return writer.Commit();
}
