// Any bytes, put on disk as a data set file, must load or be refused without a
// crash or a huge allocation. A refused file changes nothing in memory; a
// loaded one exports (XML, which escapes the comment), and its first set saves
// to a file that loads back to the same packets and comment.
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "base/DebugLog.h"
#include "data/SetDirectory.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "tests/data/PacketFixtures.h"

namespace {

void Expect(bool condition) {
  if (!condition) __builtin_trap();
}

// A folder of this process's own for the files it writes, in memory where the
// system offers it (a replacing rename on disk costs milliseconds); removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::error_code error;
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::string name = (base / "fuzz_load_data_set-XXXXXX").string();
    if (mkdtemp(name.data()) != nullptr) path_ = name;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  std::wstring File(const char* name) const { return (path_ / name).wstring(); }

 private:
  std::filesystem::path path_;
};

struct Harness {
  Harness() { DebugLog.rdbuf(nullptr); }  // its lines go nowhere

  ScratchFolder folder;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
};

// What a download left in memory: two sets with their comments.
void Download(AltimeterLink& link) {
  const auto lock = link.LockData();
  link.packets = PacketsOfKinds("ScSc");
  link.comments = {"first", "second"};
  link.settings.SetDefaults();
}

std::string PacketBytes(const std::vector<DataPacket>& packets, size_t first, size_t count) {
  return std::string(reinterpret_cast<const char*>(packets.data() + first), count * kPacketSize);
}

// Packets, settings image and comments as one comparable text.
std::string MemoryOf(AltimeterLink& link) {
  const auto lock = link.LockData();
  std::string state = PacketBytes(link.packets, 0, link.packets.size());
  state.append(reinterpret_cast<const char*>(link.settings.image.data()), link.settings.image.size());
  for (const std::string& comment : link.comments) state += comment + '\0';
  return state;
}

void CheckSavedSetLoadsBack(Harness& harness) {
  AltimeterLink& link = harness.link;
  std::string setPackets;
  std::string comment;
  {
    const auto lock = link.LockData();
    const int32_t start = SetStartPacket(link.packets, 0);
    if (start < 0) return;
    setPackets = PacketBytes(link.packets, start, SetPacketCount(link.packets, 0));
    comment = link.comments[0];
  }
  Expect(link.SaveDataSet(harness.folder.File("saved.zel"), 0));
  Expect(link.LoadDataSet(harness.folder.File("saved.zel")));
  const auto lock = link.LockData();
  Expect(PacketBytes(link.packets, 0, link.packets.size()) == setPackets);
  Expect(link.comments.size() == 1 && link.comments[0] == comment);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Harness harness;
  AltimeterLink& link = harness.link;
  {
    std::ofstream input(std::filesystem::path(harness.folder.File("input.zel")), std::ios::binary | std::ios::trunc);
    input.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  Download(link);
  const std::string before = MemoryOf(link);
  if (!link.LoadDataSet(harness.folder.File("input.zel"))) {
    Expect(MemoryOf(link) == before);
    return 0;
  }
  {
    const auto lock = link.LockData();
    Expect(link.comments.size() == 1);
    Expect(link.packets.size() * kPacketSize <= size);
  }
  Expect(link.ExportXml(harness.folder.File("out.xml"), 0));
  CheckSavedSetLoadsBack(harness);
  return 0;
}
