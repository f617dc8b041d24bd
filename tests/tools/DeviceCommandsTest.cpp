// zeltool's device commands against the simulated altimeter: what lands in
// the folder, what the user reads, and what is left when something goes wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>

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
constexpr int kSettingsTransfers = 19;
constexpr int kTransfersPerBlock = 35;

int FirstTransferOfBlock(int block) { return kSettingsTransfers + 1 + block * kTransfersPerBlock; }

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
    EXPECT_EQ("", run.err);
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

TEST_F(DeviceCommandsTest, ProgressIsPlainLinesUnlessOnATerminal) {
  Plug(MemoryPreset::OneFlight);
  const int blocks = UsedBlocks(PresetMemory(MemoryPreset::OneFlight));
  const ToolRun plain = Run({L"download", Out()});
  std::string expected;
  for (int block = 1; block <= blocks; ++block) expected += "read block " + std::to_string(block) + " of at most 128\n";
  expected += "wrote " + OutName("flight-1.zel") + "\n1 flight in " + std::to_string(blocks) + " blocks\n";
  EXPECT_EQ(expected, plain.out);

  const ToolRun terminal = Run({L"download", Out()}, true);
  EXPECT_EQ(std::string::npos, terminal.out.find("read block"));
  const int filled = blocks * 32 / 128;
  const std::string lastBar = "\rreading [" + std::string(filled, '#') + std::string(32 - filled, '.') + "] " +
                              std::to_string(blocks) + "/128 blocks\nwrote ";
  EXPECT_NE(std::string::npos, terminal.out.find(lastBar)) << terminal.out;
  EXPECT_EQ(0u, terminal.out.find("\rreading [.")) << "the bar starts empty";
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
              run.err);
    if (c.kept == 0) {
      EXPECT_FALSE(std::filesystem::exists(folder.Path("out"))) << "nothing made";
    } else {
      ExpectFlights(memory, c.kept, true);
    }
    std::filesystem::remove_all(folder.Path("out"));
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
  for (const ZeltoolArgs& args : {ZeltoolArgs{L"download"}, ZeltoolArgs{L"download", Out(), L"--xml"},
                                  ZeltoolArgs{L"download", Out(), L"--csv", L"extra"},
                                  ZeltoolArgs{L"devices", L"x"}, ZeltoolArgs{L"settings", L"--all"}}) {
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
}

TEST_F(DeviceCommandsTest, DevicesWithNoneSaysSo) {
  PlugSimAltimeter(backend, altimeter, 0x0141)->Remove();
  const ToolRun run = Run({L"devices"});
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("zeltool: no altimeter found; is it plugged in?\n", run.err);
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
  } cases[] = {
      {DeviceSettings(),
       "line A              at apogee\nline B              by altitude, 150 m above the ground\n"
       "inhibit time        2 s\ncalibration offset  0 ADC counts\n"},
      {Settings(LineMode::Time, 15, LineMode::Disabled, 7, 35, -4),
       "line A              by time, 1.5 s after launch\nline B              disabled\n"
       "inhibit time        3.5 s\ncalibration offset  -4 ADC counts\n"},
      {Settings(static_cast<LineMode>(9), 300, LineMode::Altitude, 1000, 0, 127),
       "line A              unknown mode 9, value 300\nline B              by altitude, 1000 m above the ground\n"
       "inhibit time        0 s\ncalibration offset  127 ADC counts\n"},
  };
  Plug(MemoryPreset::Empty);
  for (const auto& c : cases) {
    altimeter->SetSettingsImage(c.settings.Packed());
    const ToolRun run = Run({L"settings"});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("", run.err);
    EXPECT_EQ(c.shown, run.out);
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
}

}  // namespace
