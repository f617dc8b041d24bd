#include "data/DataSetFile.h"

#include <fstream>

#include "base/DebugLog.h"
#include "data/CountedString.h"
#include "data/LittleEndianIo.h"
#include "data/Version.h"

namespace {

bool ReadMagic(std::istream& in) {
  std::array<uint8_t, kDataSetFileMagic.size()> magic{};
  in.read(reinterpret_cast<char*>(magic.data()), magic.size());
  return in && magic == kDataSetFileMagic;
}

DataSetFileStatus ReadPackets(std::istream& in, std::vector<DataPacket>& packets) {
  const uint16_t count = ReadLittleEndian<uint16_t>(in);
  if (!in) return DataSetFileStatus::Damaged;
  DebugLog << "Packet count: " << count << std::endl;
  packets.clear();
  for (int i = 0; i < count; ++i) {
    DataPacket packet = DataPacket::MakeEmpty();
    if (!ReadPacket(in, packet)) return DataSetFileStatus::Damaged;
    DebugLog << "Read packet " << i << std::endl;
    packets.push_back(packet);
  }
  return DataSetFileStatus::Loaded;
}

bool AtEnd(std::istream& in) { return in.peek() == std::char_traits<char>::eof(); }

}  // namespace

bool WritePacket(std::ostream& out, const DataPacket& packet) {
  if (!out) return false;
  out.write(reinterpret_cast<const char*>(&packet), kPacketSize);
  return out.good();
}

bool ReadPacket(std::istream& in, DataPacket& packet) {
  if (!in) return false;
  return static_cast<bool>(in.read(reinterpret_cast<char*>(&packet), kPacketSize));
}

bool WriteDataSetFile(std::ostream& out, const DataSetFileContent& content) {
  if (content.packets.size() > UINT16_MAX) return false;
  out.write(reinterpret_cast<const char*>(kDataSetFileMagic.data()), kDataSetFileMagic.size());
  for (const uint16_t word : {kDataSetFileVersion, kHardwareFamily, kFirmwareFamily, kSoftwareVersion}) {
    WriteLittleEndian<uint16_t>(out, word);
  }
  WriteLittleEndian<uint16_t>(out, static_cast<uint16_t>(content.packets.size()));
  for (const DataPacket& packet : content.packets) WritePacket(out, packet);
  content.settings.Serialize(out);
  DebugLog << "Comment: " << content.comment << std::endl;
  WriteCountedString(out, content.comment);
  return out.good();
}

DataSetFileStatus ReadDataSetFile(std::istream& in, DataSetFileContent& content) {
  if (!ReadMagic(in)) {
    DebugLog << "Not an ZEL file." << std::endl;
    return DataSetFileStatus::NotDataSetFile;
  }
  const uint16_t version = ReadLittleEndian<uint16_t>(in);
  if (!in) return DataSetFileStatus::Damaged;
  if (VersionFamily(version) != kDataSetFileFamily) return DataSetFileStatus::UnsupportedVersion;
  for (int skipped = 0; skipped < 3; ++skipped) ReadLittleEndian<uint16_t>(in);  // the writer's versions
  DebugLog << "Correct version." << std::endl;

  const DataSetFileStatus packetsRead = ReadPackets(in, content.packets);
  if (packetsRead != DataSetFileStatus::Loaded) return packetsRead;
  if (!content.settings.Deserialize(in)) return in ? DataSetFileStatus::BadChecksum : DataSetFileStatus::Damaged;

  content.comment.clear();
  if (version >= kFirstVersionWithComment) {
    // A file that ends right after its settings has no comment; one that ends
    // inside the comment's length or text is damaged.
    if (!AtEnd(in)) {
      content.comment = ReadCountedString(in);
      if (!in) return DataSetFileStatus::Damaged;
    }
    DebugLog << "Comment: " << content.comment << std::endl;
  }
  return DataSetFileStatus::Loaded;
}

DataSetFileStatus ReadDataSetFile(const std::filesystem::path& path, DataSetFileContent& content) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return DataSetFileStatus::CannotOpen;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return DataSetFileStatus::CannotOpen;
  return ReadDataSetFile(in, content);
}

std::string DescribeDataSetFileStatus(DataSetFileStatus status) {
  switch (status) {
    case DataSetFileStatus::Loaded:
      return "loaded";
    case DataSetFileStatus::CannotOpen:
      return "cannot be opened for reading";
    case DataSetFileStatus::NotDataSetFile:
      return "is not a data set file";
    case DataSetFileStatus::UnsupportedVersion:
      return "is a data set file of a format version this program does not read";
    case DataSetFileStatus::Damaged:
      return "is damaged: it ends before the data it announces";
    case DataSetFileStatus::BadChecksum:
      return "is damaged: the checksum of its settings is wrong";
  }
  return "cannot be read";
}
