#pragma once
// The firmware file ("*.dat"), little-endian, 65,562 bytes; anything after
// them is ignored:
//       0     16  magic: {3DBEFF30-B961-4A71-B1E7-913663930EC2} in its structure byte order
//      16      2  file format version, exactly 0x0100
//      18      2  bootloader version the image is built for
//      20      2  firmware version of the image
//      22  65536  the image, scrambled (kFirmwareScrambleKey)
//   65558      4  image length in bytes, signed
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "device/FirmwareImage.h"

constexpr size_t kFirmwareFileSize = 65562;
constexpr uint16_t kFirmwareFileFormatVersion = 0x0100;

// The scrambling key. Every little-endian 16-bit word of the image is stored
// XOR-ed with it, so a file is never mistaken for a plain image and an erased
// (0xFF) area does not show as such in the file. The packer and the loader
// share this one value: changing it makes every firmware file packed before
// load as garbage, which the bootloader would then write to the altimeter.
constexpr uint16_t kFirmwareScrambleKey = 0x5AC3;

// Results of LoadFirmwareFile.
enum FirmwareFileResult : int {
  kFirmwareFileLoaded = 0,
  kFirmwareFileWrongMagic = 1,          // not a firmware file
  kFirmwareFileWrongFormatVersion = 2,  // fileFormatVersion holds the version found
  kFirmwareFileCannotOpen = 3,
  kFirmwareFileEndsEarly = 4,  // shorter than 65,562 bytes
  kFirmwareFileNoLength = 5,   // length field 0 or less: names nothing to write
};

// Reads the firmware file at `path` (by its wide name on Windows, so any
// folder name opens) and writes "Reading file." to DebugLog once it is open.
// On kFirmwareFileLoaded `firmware` holds the plain image and its length; on
// any other result `firmware` is unchanged. Each version output is set once
// its two bytes are read; those not reached keep their values.
int LoadFirmwareFile(const std::filesystem::path& path, FirmwareImage& firmware, uint16_t& fileFormatVersion,
                     uint16_t& bootloaderVersion, uint16_t& firmwareVersion);

// The 65,562 bytes of a firmware file holding `firmware` (scrambled) with its
// length field, format version 0x0100 and the two versions given.
std::vector<uint8_t> EncodeFirmwareFile(const FirmwareImage& firmware, uint16_t bootloaderVersion,
                                        uint16_t firmwareVersion);

// Writes EncodeFirmwareFile to `path` through a SafeFileWriter: false when it
// could not be written, and then whatever stood at `path` is still there.
bool SaveFirmwareFile(const std::filesystem::path& path, const FirmwareImage& firmware, uint16_t bootloaderVersion,
                      uint16_t firmwareVersion);
