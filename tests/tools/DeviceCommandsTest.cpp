// zeltool's device commands against the simulated altimeter: what lands in
// the folder, what the user reads, and what is left when something goes wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

#include "data/DataSetFile.h"
#include "data/Python3Check.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightMemory.h"
#include "sim/SimAltimeter.h"
#include "sim/SimBootloader.h"
#include "sim/SimUsbPort.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/Zeltool.h"

namespace {

// What a download costs in transfers on a fresh link: the settings are a
// reset, the command, 16 bytes and the completion; the data a reset, then per
// block two command reports, 32 words and the completion.
constexpr int kConnectTransfers = 2;  // the reset and the drain's one quiet read
constexpr int kSettingsTransfers = 19;
constexpr int kTransfersPerBlock = 35;

int FirstTransferOfBlock(int block) {
  return kConnectTransfers + kSettingsTransfers + 1 + block * kTransfersPerBlock;
}

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

std::string Bytes(const DataPacket* first, size_t count) {
  return std::string(reinterpret_cast<const char*>(first), count * sizeof(DataPacket));
}

// The sets of a memory, as the bytes of their packets.
std::vector<std::string> SetsOf(const FlightMemory& memory) {
  std::vector<std::string> sets;
  for (int block = 0; block < UsedBlocks(memory); ++block) {
    if (memory[block].IsStart()) sets.emplace_back();
    if (!sets.empty()) sets.back() += Bytes(&memory[block], 1);
  }
  return sets;
}

class DeviceCommandsTest : public testing::Test {
 protected:
  ToolRun Run(const std::vector<std::wstring>& args, bool terminal = false) {
    const ZeltoolDevices devices(backend, terminal);
    std::ostringstream out, err;
    const int status = RunZeltool(args, out, err);
    return {status, out.str(), err.str()};
  }

  std::shared_ptr<SimInterface> Plug(MemoryPreset preset, uint16_t version = kSimFirmwareVersion) {
    altimeter->LoadMemory(PresetMemory(preset));
    return PlugSimAltimeter(backend, altimeter, version);
  }

  std::wstring Out() const { return folder.WidePath("out"); }
  std::string OutName(const std::string& file) const { return folder.Path("out").append(file).string(); }

  // Every flight-N.zel in the folder holds set N-1 of `memory` with the
  // altimeter's settings, and nothing else is there.
  void ExpectFlights(const FlightMemory& memory, size_t count, bool csv = false) {
    const std::vector<std::string> sets = SetsOf(memory);
    ASSERT_LE(count, sets.size());
    std::string listing;
    for (size_t n = 1; n <= count; ++n) {
      listing += "flight-" + std::to_string(n) + (csv ? ".csv;flight-" + std::to_string(n) : "") + ".zel;";
    }
    EXPECT_EQ(listing, ListingOf(folder.Path("out")));
    for (size_t n = 1; n <= count; ++n) {
      SCOPED_TRACE("flight " + std::to_string(n));
      AltimeterLink loaded{noDevices};
      const std::string name = OutName("flight-" + std::to_string(n));
      ASSERT_TRUE(loaded.LoadDataSet(Wide(name + ".zel")));
      EXPECT_EQ(sets[n - 1], Bytes(loaded.packets.data(), loaded.packets.size()));
      EXPECT_EQ(altimeter->SettingsImage(), loaded.settings.image);
      if (!csv) continue;
      ASSERT_TRUE(loaded.ExportCsv(folder.WidePath("expected.csv"), 0));
      EXPECT_EQ(ReadFileBytes(folder.Path("expected.csv")), ReadFileBytes(name + ".csv"));
    }
  }

  static std::wstring Wide(const std::string& path) { return std::filesystem::path(path).wstring(); }

  // Standard error without the download's plain progress lines.
  static std::string WithoutProgress(const std::string& err) {
    std::istringstream lines(err);
    std::string kept, line;
    while (std::getline(lines, line)) {
      if (line.rfind("blocks read: ", 0) != 0) kept += line + '\n';
    }
    return kept;
  }

  static std::string ListingOf(const std::filesystem::path& path) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      if (entry.path().filename() != "expected.csv") names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string& name : names) listing += name + ";";
    return listing;
  }

  LogCapture log;
  SimHidBackend backend{0.01};
  NoDeviceBackend noDevices;
  const std::shared_ptr<SimAltimeter> altimeter = std::make_shared<SimAltimeter>();
  TempFolder folder;
};

TEST_F(DeviceCommandsTest, DownloadWritesEveryFlightOfTheMemory) {
  const struct {
    MemoryPreset preset;
    size_t flights;
    int blocks;
  } cases[] = {
      {MemoryPreset::Full, 5, kMemoryBlocks},
      {MemoryPreset::SeveralFlights, 3, UsedBlocks(PresetMemory(MemoryPreset::SeveralFlights))},
      {MemoryPreset::OneFlight, 1, UsedBlocks(PresetMemory(MemoryPreset::OneFlight))},
      {MemoryPreset::Empty, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flights);
    const std::shared_ptr<SimInterface> device = Plug(c.preset);
    const ToolRun run = Run({L"download", Out()});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", WithoutProgress(run.err));
    ExpectFlights(PresetMemory(c.preset), c.flights);
    const std::string summary = std::to_string(c.flights) + (c.flights == 1 ? " flight" : " flights") + " in " +
                                std::to_string(c.blocks) + " blocks\n";
    EXPECT_EQ(run.out.size() - summary.size(), run.out.rfind(summary)) << run.out;
    device->Remove();
    std::filesystem::remove_all(folder.Path("out"));
  }
}

TEST_F(DeviceCommandsTest, DownloadWithCsvWritesTheProgramsExportBesideEachFlight) {
  Plug(MemoryPreset::SeveralFlights);
  const ToolRun run = Run({L"download", Out(), L"--csv"});
  EXPECT_EQ(0, run.status) << run.err;
  ExpectFlights(PresetMemory(MemoryPreset::SeveralFlights), 3, true);
}

// The progress goes to standard error, so that standard output holds the
// results alone. The read stops at the first erased block, so it counts the
// blocks without a total, and on a terminal ends full at the blocks the
// memory held; elsewhere it is plain lines, nothing drawn over.
TEST_F(DeviceCommandsTest, ProgressOnStandardErrorEndsAtTheBlocksTheMemoryHolds) {
  for (const MemoryPreset preset : {MemoryPreset::OneFlight, MemoryPreset::Full}) {
    const int used = UsedBlocks(PresetMemory(preset));
    const std::string blocks = std::to_string(used);
    std::string lines, redrawn;
    for (int block = 1; block <= used; ++block) {
      lines += "blocks read: " + std::to_string(block) + '\n';
      redrawn += "\rblocks read: " + std::to_string(block);
    }
    for (const bool terminal : {false, true}) {
      SCOPED_TRACE(blocks + (terminal ? " blocks, terminal" : " blocks, plain"));
      const std::shared_ptr<SimInterface> device = Plug(preset);
      const ToolRun run = Run({L"download", Out()}, terminal);
      EXPECT_EQ(0, run.status);
      EXPECT_EQ(terminal ? redrawn + "\r[" + std::string(32, '#') + "] " + blocks + '/' + blocks + " blocks\n" : lines,
                run.err);
      EXPECT_EQ(0u, run.out.find("wrote " + OutName("flight-1.zel") + '\n')) << run.out;
      const std::string summary = " in " + blocks + " blocks\n";
      EXPECT_EQ(run.out.size() - summary.size(), run.out.rfind(summary)) << run.out;
      device->Remove();
      std::filesystem::remove_all(folder.Path("out"));
    }
  }
  Plug(MemoryPreset::SeveralFlights)->SetRemovedAtTransfer(FirstTransferOfBlock(3) + 10);
  const ToolRun cut = Run({L"download", Out()}, true);
  EXPECT_EQ(0u, cut.err.find("\rblocks read: 1\rblocks read: 2\rblocks read: 3\nzeltool: the download stopped after"))
      << cut.err;
}

TEST_F(DeviceCommandsTest, PulledOutMidDownloadKeepsOnlyTheFlightsReadInFull) {
  const FlightMemory memory = PresetMemory(MemoryPreset::SeveralFlights);
  std::vector<int> starts;
  for (int block = 0; block < kMemoryBlocks; ++block) {
    if (memory[block].IsStart()) starts.push_back(block);
  }
  ASSERT_EQ(3u, starts.size());
  const int end = UsedBlocks(memory);
  const struct {
    int cutInBlock;
    size_t kept;
  } cases[] = {
      {0, 0},                           // in the first flight's first block
      {starts[1] + 1, 1},               // inside the second flight
      {starts[2], 1},                   // all of the second read, but it might have gone on
      {end - 1, 2},                     // in the last block of the third
      {end, 2},                         // at the erased block: the third might have gone on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("cut in block " + std::to_string(c.cutInBlock));
    const std::shared_ptr<SimInterface> device = Plug(MemoryPreset::SeveralFlights);
    device->SetRemovedAtTransfer(FirstTransferOfBlock(c.cutInBlock) + 10);
    const ToolRun run = Run({L"download", Out(), L"--csv"});
    EXPECT_EQ(1, run.status);
    const std::string kept = c.kept == 0 ? "no flight was read in full"
                                         : "kept the " + std::to_string(c.kept) +
                                               (c.kept == 1 ? " flight" : " flights") + " read in full";
    EXPECT_EQ("zeltool: the download stopped after " + std::to_string(c.cutInBlock) +
                  " blocks: the altimeter was unplugged; " + kept + "\n",
              WithoutProgress(run.err));
    EXPECT_EQ(std::string::npos, run.out.find(" blocks\n")) << "no summary of a download that failed: " << run.out;
    if (c.kept == 0) {
      EXPECT_FALSE(std::filesystem::exists(folder.Path("out"))) << "nothing made";
    } else {
      ExpectFlights(memory, c.kept, true);
    }
    std::filesystem::remove_all(folder.Path("out"));
  }
}

// Flight files of an earlier download would mix with the new flights: the
// download names them and stops before the altimeter or any file is touched.
TEST_F(DeviceCommandsTest, DownloadRefusesAFolderHoldingFlightFiles) {
  std::filesystem::create_directory(folder.Path("out"));
  for (const char* name : {"flight-2.zel", "flight-10.zel", "FLIGHT-2.CSV", "flight-1.zel", "notes.txt",
                           "flight-x.zel", "flight-.csv", "flight-3.zel.bak"}) {
    WriteFileBytes(folder.Path("out") / name, name);
  }
  WriteFileBytes(folder.Path("plain"), "not a folder");
  const std::string listing = ListingOf(folder.Path("out"));
  const std::shared_ptr<SimInterface> device = Plug(MemoryPreset::SeveralFlights);
  for (const ZeltoolArgs& args :
       {ZeltoolArgs{L"download", Out()}, ZeltoolArgs{L"download", Out(), L"--csv", L"--json"}}) {
    const ToolRun run = Run(args);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("", run.out);
    EXPECT_EQ("zeltool: " + folder.Path("out").string() +
                  " already holds flight-1.zel, flight-2.zel, FLIGHT-2.CSV, flight-10.zel of an earlier download, "
                  "which the new flights would mix with; choose another folder, or give --overwrite to write over "
                  "them\n",
              run.err);
  }
  const ToolRun plain = Run({L"download", folder.WidePath("plain")});
  EXPECT_EQ(1, plain.status);
  EXPECT_EQ(0u, plain.err.find("zeltool: the folder " + folder.Path("plain").string() + " cannot be used: "))
      << plain.err;
  EXPECT_EQ(0, device->TransfersStarted());
  EXPECT_EQ(listing, ListingOf(folder.Path("out")));
  EXPECT_EQ("flight-1.zel", ReadFileBytes(folder.Path("out") / "flight-1.zel"));
}

// With --overwrite the new flights replace theirs namesakes; the files of the
// earlier, larger download that stay beside them are named, and kept.
TEST_F(DeviceCommandsTest, OverwriteNamesTheEarlierFilesLeftBeside) {
  std::shared_ptr<SimInterface> device = Plug(MemoryPreset::SeveralFlights);
  ASSERT_EQ(0, Run({L"download", Out(), L"--csv"}).status);
  device->Remove();
  Plug(MemoryPreset::OneFlight);
  const ToolRun run = Run({L"download", Out(), L"--overwrite"});
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("zeltool: warning: " + folder.Path("out").string() +
                " still holds flight-1.csv, flight-2.zel, flight-2.csv, flight-3.zel, flight-3.csv of an earlier "
                "download, which this download did not write\n",
            WithoutProgress(run.err));
  EXPECT_EQ("flight-1.csv;flight-1.zel;flight-2.csv;flight-2.zel;flight-3.csv;flight-3.zel;",
            ListingOf(folder.Path("out")));
  AltimeterLink loaded{noDevices};
  ASSERT_TRUE(loaded.LoadDataSet(Out() + L"/flight-1.zel"));
  EXPECT_EQ(SetsOf(PresetMemory(MemoryPreset::OneFlight))[0], Bytes(loaded.packets.data(), loaded.packets.size()));
}

// The summary for scripts: whether every flight is in the folder, how many
// flights and blocks, the files written, and the earlier ones left beside.
TEST_F(DeviceCommandsTest, DownloadSummaryAsJson) {
  const std::string blocks = std::to_string(UsedBlocks(PresetMemory(MemoryPreset::SeveralFlights)));
  const auto file = [&](const char* name) {
    std::string escaped;
    for (const char c : OutName(name)) escaped += c == '\\' ? std::string(2, '\\') : std::string(1, c);
    return '"' + escaped + '"';
  };
  std::shared_ptr<SimInterface> device = Plug(MemoryPreset::SeveralFlights);
  const ToolRun whole = Run({L"download", Out(), L"--json", L"--csv"});
  EXPECT_EQ(0, whole.status);
  EXPECT_EQ(R"({"complete": true, "flights": 3, "blocks": )" + blocks + R"(, "files": [)" + file("flight-1.zel") +
                ", " + file("flight-1.csv") + ", " + file("flight-2.zel") + ", " + file("flight-2.csv") + ", " +
                file("flight-3.zel") + ", " + file("flight-3.csv") + R"(], "leftOver": []})" + "\n",
            whole.out);
  EXPECT_EQ("", WithoutProgress(whole.err));
  device->Remove();

  const FlightMemory memory = PresetMemory(MemoryPreset::SeveralFlights);
  int secondStart = 1;
  while (!memory[secondStart].IsStart()) ++secondStart;
  device = Plug(MemoryPreset::SeveralFlights);
  device->SetRemovedAtTransfer(FirstTransferOfBlock(secondStart + 1) + 10);
  const ToolRun cut = Run({L"download", Out(), L"--overwrite", L"--json"});
  EXPECT_EQ(1, cut.status);
  EXPECT_EQ(R"({"complete": false, "flights": 1, "blocks": )" + std::to_string(secondStart + 1) + R"(, "files": [)" +
                file("flight-1.zel") + R"(], "leftOver": [)" + file("flight-1.csv") + ", " + file("flight-2.zel") +
                ", " + file("flight-2.csv") + ", " + file("flight-3.zel") + ", " + file("flight-3.csv") + "]}\n",
            cut.out);
  EXPECT_EQ(0u, WithoutProgress(cut.err).find("zeltool: warning: ")) << cut.err;
}

// Names are bytes natively, and JSON text is UTF-8: a byte outside UTF-8
// reads as U+FFFD, and quotes, backslashes and tabs are escaped, as a JSON
// parser that knows nothing of this program agrees.
TEST_F(DeviceCommandsTest, DownloadJsonOfAnyFolderNameIsTakenByAJsonParser) {
  if (!HavePython3()) GTEST_SKIP() << "no python3 to parse the summary";
  const std::string name = folder.Path().string() + "/q\"b\\s\tl\xE9";
  Plug(MemoryPreset::OneFlight);
  const ToolRun run = Run({L"download", WideArg(name), L"--json"});
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_TRUE(std::filesystem::exists(name + "/flight-1.zel"));
  WriteFileBytes(folder.Path("summary.json"), run.out);
  const std::string readAs = folder.Path().string() + "/q\"b\\s\tl\xEF\xBF\xBD/flight-1.zel";
  EXPECT_TRUE(Python3Succeeds("import json, sys\nsys.exit(json.load(open(sys.argv[1], encoding='utf-8'))['files'] != "
                              "[sys.argv[2]])",
                              {folder.Path("summary.json").string(), readAs}))
      << run.out;
}

// Every command that prints JSON, in its main cases: what it prints is taken
// by a strict parser (UTF-8, no raw controls, no NaN, nothing after it) and
// carries an odd text whole; printing nothing goes with a failure.
TEST_F(DeviceCommandsTest, EveryJsonOutputParsesOrIsEmptyWithAFailure) {
  const std::string comment = "q\"b\\s\t\x01\x1b\x7f\r\nl\xE9";
#ifdef _WIN32
  const std::string odd = "q'b \xC3\xA9";  // Windows names take no quotes, backslashes or controls
#else
  const std::string odd = comment;
#endif
  const FlightMemory memory = PresetMemory(MemoryPreset::SeveralFlights);
  DataSetFileContent content;
  content.packets.assign(memory.begin(), memory.begin() + UsedBlocks(memory));
  content.comment = comment;
  std::ostringstream bytes;
  ASSERT_TRUE(WriteDataSetFile(bytes, content));
  const std::wstring base = folder.Path().wstring() + L"/";
  const std::wstring good = base + L"flight.zel", oddName = base + WideArg(odd), damaged = base + L"damaged.zel";
  WriteFileBytes(ArgPath(good), bytes.str());
  WriteFileBytes(ArgPath(oddName), bytes.str());
  WriteFileBytes(ArgPath(damaged), bytes.str().substr(0, bytes.str().size() / 2));
  WriteFileBytes(folder.Path("plain"), "not a folder");
  std::filesystem::create_directories(folder.Path("unwritable") / "flight-2.zel");
  int secondStart = 1;
  while (!memory[secondStart].IsStart()) ++secondStart;

  std::shared_ptr<SimInterface> device;
  const auto none = [] {};
  const auto plug = [&](int removedAtTransfer) {
    return [&, removedAtTransfer] {
      device = Plug(MemoryPreset::SeveralFlights);
      if (removedAtTransfer >= 0) device->SetRemovedAtTransfer(removedAtTransfer);
    };
  };
  const struct {
    const char* name;
    std::function<void()> setUp;
    ZeltoolArgs args;
    int status;
    std::string carries;  // bytes whose text (U+FFFD for each stray byte) a string of the output holds
  } cases[] = {
      {"devices", plug(-1), {L"devices", L"--json"}, 0, ""},
      {"devices, none", none, {L"devices", L"--json"}, 1, ""},
      {"settings", plug(-1), {L"settings", L"--json"}, 0, ""},
      {"settings, none", none, {L"settings", L"--json"}, 1, ""},
      {"settings, pulled out", plug(kConnectTransfers + 5), {L"settings", L"--json"}, 1, ""},
      {"download", plug(-1), {L"download", base + L"whole", L"--json", L"--csv"}, 0, ""},
      {"download, none", none, {L"download", base + L"none", L"--json"}, 1, ""},
      {"download, cut in the first block", plug(FirstTransferOfBlock(0) + 10), {L"download", base + L"cut0", L"--json"},
       1, ""},
      {"download, cut in the second flight", plug(FirstTransferOfBlock(secondStart + 1) + 10),
       {L"download", base + L"cut1", L"--json"}, 1, ""},
      {"download, a file cannot be written", plug(-1), {L"download", base + L"unwritable", L"--json", L"--overwrite"},
       1, ""},
      {"download, odd folder name", plug(-1), {L"download", oddName + L"-out", L"--json"}, 0, odd},
      {"download, folder is a file", plug(-1), {L"download", base + L"plain", L"--json"}, 1, ""},
      {"stats, odd comment", none, {L"stats", good, L"--format", L"json"}, 0, comment},
      {"stats, odd file name", none, {L"stats", oddName, L"--format", L"json"}, 0, odd},
      {"stats, damaged", none, {L"stats", damaged, L"--format", L"json"}, 1, ""},
      {"stats, missing", none, {L"stats", base + L"missing.zel", L"--format", L"json"}, 1, ""},
      {"stats, good beside damaged and missing",
       none, {L"stats", damaged, good, base + L"missing.zel", L"--format", L"json"}, 1, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.setUp();
    const ToolRun run = Run(c.args);
    if (device) device->Remove();
    device.reset();
    EXPECT_EQ(c.status, run.status) << run.err;
    if (run.out.empty()) {
      EXPECT_NE(0, run.status);
      continue;
    }
    if (!HavePython3()) continue;
    WriteFileBytes(folder.Path("out.json"), run.out);
    WriteFileBytes(folder.Path("carries"), c.carries);
    EXPECT_TRUE(Python3Succeeds(
        "import json, sys\n"
        "def constant(name): raise ValueError(name)\n"
        "def strings(value):\n"
        "  if isinstance(value, dict): value = list(value.values())\n"
        "  if isinstance(value, list): return [s for item in value for s in strings(item)]\n"
        "  return [value] if isinstance(value, str) else []\n"
        "doc = json.loads(open(sys.argv[1], 'rb').read().decode('utf-8'), parse_constant=constant)\n"
        "carries = open(sys.argv[2], 'rb').read().decode('utf-8', 'replace')\n"
        "sys.exit(bool(carries) and not any(carries in s for s in strings(doc)))\n",
        {folder.Path("out.json").string(), folder.Path("carries").string()}))
        << run.out;
  }
}

// Each failure before the data: one line, status 1, nothing written, for both
// commands that read the altimeter.
TEST_F(DeviceCommandsTest, FailuresBeforeTheDataGiveOneLine) {
  const struct {
    const char* name;
    std::function<void(SimUsbPort&)> setUp;
    const char* says;
  } cases[] = {
      {"none", [](SimUsbPort&) {}, "zeltool: no altimeter found; is it plugged in?\n"},
      {"bootloader", [](SimUsbPort& port) { port.PlugIn(SimPortMode::Bootloader, 0x0103); },
       "zeltool: the altimeter is in bootloader mode (bootloader 1.03), where it holds no flights; it must run its "
       "firmware\n"},
      {"old firmware", [](SimUsbPort& port) { port.PlugIn(SimPortMode::Application, 0x0135); },
       "zeltool: the altimeter runs firmware 1.35; this program talks to firmware 1.4x only\n"},
      {"pulled out",
       [](SimUsbPort& port) {
         port.PlugIn(SimPortMode::Application, 0x0141);
         port.ArmFault(SimFault::RemovalMidTransfer);
       },
       "zeltool: the settings could not be read: the altimeter was unplugged\n"},
      {"silent",
       [](SimUsbPort& port) {
         port.PlugIn(SimPortMode::Application, 0x0141);
         port.ArmFault(SimFault::Silence);
       },
       "zeltool: the settings could not be read: the altimeter stopped answering\n"},
  };
  for (const auto& c : cases) {
    for (const wchar_t* command : {L"download", L"settings"}) {
      SCOPED_TRACE(std::string(c.name) + " " + NarrowText(command));
      SimUsbPort port(backend);
      c.setUp(port);
      const ToolRun run = Run(command == std::wstring(L"download") ? ZeltoolArgs{command, Out()}
                                                                 : ZeltoolArgs{command});
      EXPECT_EQ(1, run.status);
      EXPECT_EQ(c.says, run.err);
      EXPECT_EQ("", run.out);
      EXPECT_EQ("", folder.Listing());
      port.PullOut();
    }
  }
}

TEST_F(DeviceCommandsTest, WithoutABackendTheCommandsSaySo) {
  for (const ZeltoolArgs& args : {ZeltoolArgs{L"devices"}, ZeltoolArgs{L"settings"}, ZeltoolArgs{L"download", Out()}}) {
    std::ostringstream out, err;
    EXPECT_EQ(1, RunZeltool(args, out, err));
    EXPECT_EQ("zeltool: this build of zeltool reaches no altimeters\n", err.str());
  }
}

TEST_F(DeviceCommandsTest, UnopenableAltimeterPointsAtTheUdevRule) {
  Plug(MemoryPreset::OneFlight)->SetUnopenable();
  const ToolRun run = Run({L"settings"});
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("cannot be opened")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("packaging/linux/70-zelusb.rules)\n")) << run.err;
}

TEST_F(DeviceCommandsTest, BadCommandLinesGiveTheUsage) {
  for (const ZeltoolArgs& args :
       {ZeltoolArgs{L"download"}, ZeltoolArgs{L"download", Out(), L"--xml"},
        ZeltoolArgs{L"download", Out(), L"--csv", L"extra"}, ZeltoolArgs{L"download", Out(), L"--json", L"--json"},
        ZeltoolArgs{L"devices", L"x"}, ZeltoolArgs{L"devices", L"--json", L"--json"},
        ZeltoolArgs{L"settings", L"--all"}, ZeltoolArgs{L"settings", L"--JSON"},
        ZeltoolArgs{L"settings", L"--inhibit"}, ZeltoolArgs{L"settings", L"--inhibit", L"2.5"},
        ZeltoolArgs{L"settings", L"--line-a", L"time:"}, ZeltoolArgs{L"settings", L"--line-b", L"main"},
        ZeltoolArgs{L"settings", L"--line-a", L"apogee", L"--line-a", L"apogee"}}) {
    const ToolRun run = Run(args);
    EXPECT_EQ(2, run.status);
    EXPECT_EQ(0u, run.err.find("zeltool: usage: zeltool " + NarrowText(args[0]))) << run.err;
  }
}

TEST_F(DeviceCommandsTest, DevicesListsModeAndVersionOfEach) {
  PlugSimAltimeter(backend, altimeter, 0x0141, 0);
  PlugSimBootloader(backend, std::make_shared<SimBootloader>(), 0x0103, 0);
  PlugSimAltimeter(backend, std::make_shared<SimAltimeter>(), 0x0135, 1);
  PlugSimBootloader(backend, std::make_shared<SimBootloader>(), 0x0200, 1);
  const auto path = [](uint16_t product, int instance) {
    return NarrowText(SimInterfacePath(kAltimeterVendorId, product, instance));
  };
  const ToolRun run = Run({L"devices"});
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("application mode, firmware 1.41: " + path(2, 0) +
                "\napplication mode, firmware 1.35 (not compatible: this program takes 1.4x): " + path(2, 1) +
                "\nbootloader mode, bootloader 1.03: " + path(1, 0) +
                "\nbootloader mode, bootloader 2.00 (not compatible: this program takes 1.0x): " + path(1, 1) + "\n",
            run.out);
  EXPECT_EQ("", run.err);

  const auto jsonPath = [&](uint16_t product, int instance) {
    std::string escaped;
    for (const char c : path(product, instance)) escaped += c == '\\' ? std::string(2, '\\') : std::string(1, c);
    return '"' + escaped + '"';
  };
  const ToolRun json = Run({L"devices", L"--json"});
  EXPECT_EQ(0, json.status);
  EXPECT_EQ(R"({"devices": [{"mode": "application", "version": "1.41", "compatible": true, "path": )" +
                jsonPath(2, 0) + R"(}, {"mode": "application", "version": "1.35", "compatible": false, "path": )" +
                jsonPath(2, 1) + R"(}, {"mode": "bootloader", "version": "1.03", "compatible": true, "path": )" +
                jsonPath(1, 0) + R"(}, {"mode": "bootloader", "version": "2.00", "compatible": false, "path": )" +
                jsonPath(1, 1) + "}]}\n",
            json.out);
}

TEST_F(DeviceCommandsTest, DevicesWithNoneSaysSo) {
  PlugSimAltimeter(backend, altimeter, 0x0141)->Remove();
  const ToolRun run = Run({L"devices"});
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("zeltool: no altimeter found; is it plugged in?\n", run.err);
  EXPECT_EQ("", run.out);
  const ToolRun json = Run({L"devices", L"--json"});
  EXPECT_EQ(1, json.status);
  EXPECT_EQ("{\"devices\": []}\n", json.out) << "a list a script can parse";
}

DeviceSettings Settings(LineMode a, uint16_t aValue, LineMode b, uint16_t bValue, uint16_t inhibit, int32_t offset) {
  DeviceSettings settings;
  settings.lineAMode = a;
  settings.lineAValue = aValue;
  settings.lineBMode = b;
  settings.lineBValue = bValue;
  settings.inhibitTime = inhibit;
  settings.adcOffset = offset;
  return settings;
}

TEST_F(DeviceCommandsTest, SettingsAreDecodedWithTheirUnits) {
  const struct {
    DeviceSettings settings;
    const char* shown;
    const char* json;
  } cases[] = {
      {DeviceSettings(),
       "line A              at apogee\nline B              by altitude, 150 m above the ground\n"
       "inhibit time        2 s\ncalibration offset  0 ADC counts\n",
       R"({"lineA": {"mode": "apogee", "value": 150}, "lineB": {"mode": "altitude", "value": 150, "metres": 150}, )"
       R"("inhibitSeconds": 2, "calibrationOffset": 0, "checksumValid": true})"},
      {Settings(LineMode::Time, 15, LineMode::Disabled, 7, 35, -4),
       "line A              by time, 1.5 s after launch\nline B              disabled\n"
       "inhibit time        3.5 s\ncalibration offset  -4 ADC counts\n",
       R"({"lineA": {"mode": "time", "value": 15, "seconds": 1.5}, "lineB": {"mode": "disabled", "value": 7}, )"
       R"("inhibitSeconds": 3.5, "calibrationOffset": -4, "checksumValid": true})"},
      {Settings(static_cast<LineMode>(9), 300, LineMode::Altitude, 1000, 0, 127),
       "line A              unknown mode 9, value 300\nline B              by altitude, 1000 m above the ground\n"
       "inhibit time        0 s\ncalibration offset  127 ADC counts\n",
       R"({"lineA": {"mode": "unknown", "value": 300, "modeCode": 9}, )"
       R"("lineB": {"mode": "altitude", "value": 1000, "metres": 1000}, )"
       R"("inhibitSeconds": 0, "calibrationOffset": 127, "checksumValid": true})"},
  };
  Plug(MemoryPreset::Empty);
  for (const auto& c : cases) {
    altimeter->SetSettingsImage(c.settings.Packed());
    const ToolRun run = Run({L"settings"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    EXPECT_EQ(c.shown, run.out);
    const ToolRun json = Run({L"settings", L"--json"});
    EXPECT_EQ(0, json.status) << json.err;
    EXPECT_EQ(std::string(c.json) + '\n', json.out);
  }
}

TEST_F(DeviceCommandsTest, SettingsWithABadChecksumShowTheDefaultsAndSaySo) {
  std::array<uint8_t, DeviceSettings::kImageSize> image = Settings(LineMode::Time, 15, LineMode::Disabled, 7, 35, -4).Packed();
  image[14] ^= 1;
  altimeter->SetSettingsImage(image);
  Plug(MemoryPreset::Empty);
  const ToolRun run = Run({L"settings"});
  EXPECT_EQ(0, run.status);
  EXPECT_EQ("zeltool: warning: the altimeter's settings fail their checksum; the defaults stand in for them\n", run.err);
  EXPECT_EQ(0u, run.out.find("line A              at apogee\n")) << run.out;
  const ToolRun json = Run({L"settings", L"--json"});
  EXPECT_EQ(0, json.status);
  EXPECT_EQ(run.err, json.err);
  EXPECT_EQ(0u, json.out.find(R"({"lineA": {"mode": "apogee", )")) << json.out;
  EXPECT_NE(std::string::npos, json.out.find(R"("checksumValid": false})")) << json.out;
}

// A write changes only what it names, and shows what the altimeter holds
// after it, as a read shows it.
TEST_F(DeviceCommandsTest, SettingsWrittenAreReadBackFromTheAltimeter) {
  const struct {
    ZeltoolArgs args;
    DeviceSettings stored;
  } cases[] = {
      {{L"--line-a", L"time:3", L"--inhibit", L"4"}, Settings(LineMode::Time, 30, LineMode::Altitude, 150, 40, 0)},
      {{L"--json", L"--line-b", L"disabled"}, Settings(LineMode::Time, 30, LineMode::Disabled, 150, 40, 0)},
      {{L"--line-b", L"altitude:250", L"--line-a", L"apogee"},
       Settings(LineMode::Apogee, 30, LineMode::Altitude, 250, 40, 0)},
  };
  Plug(MemoryPreset::Empty);
  for (const auto& c : cases) {
    ZeltoolArgs args{L"settings"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun run = Run(args);
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    EXPECT_EQ(c.stored.Packed(), altimeter->SettingsImage());
    const bool json = c.args[0] == L"--json";
    EXPECT_EQ(Run(json ? ZeltoolArgs{L"settings", L"--json"} : ZeltoolArgs{L"settings"}).out, run.out);
  }
  const std::array<uint8_t, DeviceSettings::kImageSize> kept = altimeter->SettingsImage();
  const ToolRun tooLong = Run({L"settings", L"--line-a", L"time:6554"});
  EXPECT_EQ(1, tooLong.status);
  EXPECT_EQ("zeltool: the settings do not fit the altimeter's record: times up to 6553 s, heights up to 65535 m\n",
            tooLong.err);
  EXPECT_EQ(kept, altimeter->SettingsImage());
}

}  // namespace
