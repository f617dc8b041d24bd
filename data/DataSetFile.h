#pragma once
// The data set file: magic, format version, three version words of the writer,
// a packet count, the packets byte for byte, the 16-byte settings block and,
// from format version 1.01 on, the comment as a counted string. Integers are
// little-endian. Writing and reading log to DebugLog as the program always has.
#include <array>
#include <cstdint>
#include <filesystem>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "data/DataPacket.h"
#include "data/DeviceSettings.h"

constexpr std::array<uint8_t, 16> kDataSetFileMagic = {0x78, 0x5A, 0xA7, 0xFF, 0x32, 0x04, 0x82, 0x4C,
                                                       0x93, 0x9F, 0x89, 0x2D, 0x31, 0xA4, 0x7A, 0xBC};
constexpr uint16_t kDataSetFileVersion = 0x0101;
constexpr uint16_t kDataSetFileFamily = 0x0100;  // versions 0x0100..0x010F are read
constexpr uint16_t kFirstVersionWithComment = 0x0101;

// Writes or reads one packet, exactly 64 bytes. Each does nothing and returns
// false when the stream has already failed; ReadPacket also returns false when
// the stream ends inside the packet (its missing bytes keep their old values).
bool WritePacket(std::ostream& out, const DataPacket& packet);
bool ReadPacket(std::istream& in, DataPacket& packet);

// What a data set file holds.
struct DataSetFileContent {
  std::vector<DataPacket> packets;
  DeviceSettings settings;
  std::string comment;
};

// Writes a whole file of format version 1.01 (settings through
// DeviceSettings::Serialize, then "Comment: " to DebugLog). False when a
// write failed or there are more packets than the count field holds.
bool WriteDataSetFile(std::ostream& out, const DataSetFileContent& content);

enum class DataSetFileStatus {
  Loaded,
  CannotOpen,
  NotDataSetFile,      // wrong magic; logs "Not an ZEL file."
  UnsupportedVersion,  // a format version outside 1.0x
  Damaged,             // ends inside a field, or counts more than it holds
  BadChecksum,         // the settings block's checksum is wrong
};

// Reads a whole file into `content`. `content.settings` should hold the record
// in effect: the settings parse logs its "MaxReadings: " before unpacking.
// On any status but Loaded, `content` is partly filled and must be dropped.
DataSetFileStatus ReadDataSetFile(std::istream& in, DataSetFileContent& content);
DataSetFileStatus ReadDataSetFile(const std::filesystem::path& path, DataSetFileContent& content);

// One line for a person: what is wrong with a file that did not load.
std::string DescribeDataSetFileStatus(DataSetFileStatus status);
