// load_data_set_seeds DIR: writes the seed corpus of fuzz_load_data_set with
// the program's own file writer: a short flight, a set with a comment that
// needs escaping, several sets in one file, no packets at all, and the oldest
// and newest format versions the loader reads. Each file is under 1 KiB.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/DebugLog.h"
#include "data/DataSetFile.h"
#include "tests/data/FlightFixtures.h"
#include "tests/data/PacketFixtures.h"

namespace {

constexpr size_t kVersionOffset = 16;

std::string FileBytes(const std::vector<DataPacket>& packets, const std::string& comment, int32_t adcOffset) {
  DataSetFileContent content;
  content.packets = packets;
  content.comment = comment;
  content.settings.adcOffset = adcOffset;
  content.settings.Build();
  std::ostringstream out;
  WriteDataSetFile(out, content);
  return out.str();
}

// The same file under another format version; version 1.00 files end with the settings.
std::string AsVersion(std::string bytes, uint16_t version, size_t commentBytes) {
  bytes[kVersionOffset] = static_cast<char>(version & 0xFF);
  bytes[kVersionOffset + 1] = static_cast<char>(version >> 8);
  if (version < kFirstVersionWithComment) bytes.resize(bytes.size() - 4 - commentBytes - 1);
  return bytes;
}

bool Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (out.fail()) return false;
  std::printf("%s\n", path.string().c_str());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: load_data_set_seeds DIR\n");
    return 2;
  }
  DebugLog.rdbuf(nullptr);  // the writer's trace would mix with the paths
  const std::filesystem::path folder(argv[1]);
  const std::string comment = "A<B&\"C\" caf\xE9";
  const std::string oneSet = FileBytes(PacketsOfKinds("Sc"), comment, 0);
  const bool written =
      Write(folder / "flight.zel", FileBytes(ModelledFlight(9 * kWordsPerPacket).packets, "Club launch", -3)) &&
      Write(folder / "comment.zel", oneSet) &&
      Write(folder / "several-sets.zel", FileBytes(PacketsOfKinds("cScESc"), "", 4)) &&
      Write(folder / "no-packets.zel", FileBytes({}, "empty", 0)) &&
      Write(folder / "version-0100.zel", AsVersion(oneSet, 0x0100, comment.size())) &&
      Write(folder / "version-010f.zel", AsVersion(oneSet, 0x010F, comment.size()));
  return written ? 0 : 1;
}
