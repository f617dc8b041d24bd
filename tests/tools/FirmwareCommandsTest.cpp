#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "device/AltimeterLink.h"
#include "device/FirmwareFixtures.h"
#include "sim/PortAltimeter.h"
#include "sim/SimBootloader.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/Zeltool.h"

namespace {

struct ToolRun {
  int status;
  std::string out;
  std::string err;
};

ToolRun Zeltool(const std::vector<std::wstring>& args) {
  std::ostringstream out, err;
  const int status = RunZeltool(args, out, err);
  return {status, out.str(), err.str()};
}

std::string NarrowWords(const std::vector<std::wstring>& args) {
  std::string words;
  for (const std::wstring& arg : args) words += NarrowText(arg) + ' ';
  return words;
}

void WriteBinary(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  WriteFileBytes(path, std::string(bytes.begin(), bytes.end()));
}

// What firmware-pack makes, firmware-update writes to the bootloader as it was.
TEST(FirmwareCommandsTest, PackedImageIsWrittenByTheUpdateIdentically) {
  TempFolder folder;
  std::vector<uint8_t> plain = PatternBinary(5000);
  std::fill_n(plain.begin() + 10 * 64, 64, kErasedFlashByte);
  WriteBinary(folder.Path("image.bin"), plain);
  const ToolRun pack = Zeltool({L"firmware-pack", folder.WidePath("image.bin"), folder.WidePath("image.dat"),
                                L"--firmware", L"0x0142", L"--bootloader", L"103"});
  ASSERT_EQ(pack.status, 0) << pack.err;
  EXPECT_EQ(pack.out + pack.err, "");

  SimHidBackend backend{0.01};
  const auto bootloader = std::make_shared<SimBootloader>();
  PlugSimBootloader(backend, bootloader);
  LogCapture log;
  const ZeltoolDevices devices(backend, false);
  const ToolRun update = Zeltool({L"firmware-update", folder.WidePath("image.dat")});
  ASSERT_EQ(update.status, 0) << update.err;
  EXPECT_EQ(update.out, "New firmware version: 1.42\nFirmware updated successfully.\n");
  std::string deciles;
  for (int percent = 0; percent <= 100; percent += 10) deciles += "firmware written: " + std::to_string(percent) + "%\n";
  EXPECT_EQ(update.err, deciles);
  std::vector<uint8_t> expected = plain;
  expected.resize(kFirmwareImageSize, kErasedFlashByte);
  EXPECT_EQ(bootloader->Flash(), expected);
  const std::vector<uint16_t> written = bootloader->WrittenAddresses();
  EXPECT_EQ(written.size(), 78u) << "blocks 0 to 78 but the empty block 10";
  EXPECT_EQ(std::count(written.begin(), written.end(), 10 * 64), 0);
}

// Where the update cannot start or does not end, one reason on standard error.
TEST(FirmwareCommandsTest, UpdateSaysWhyItFailed) {
  TempFolder folder;
  WriteFirmwareFile(folder.Path("good.dat"), FirmwareFileRecipe());
  FirmwareFileRecipe foreign;
  foreign.firmwareVersion = 0x0150;
  WriteFirmwareFile(folder.Path("foreign.dat"), foreign);
  const struct {
    const char* what;
    SimPortMode mode;
    uint16_t version;
    const char* file;
    int removedAtTransfer;
    const char* says;
  } cases[] = {
      {"in application mode", SimPortMode::Application, 0x0141, "good.dat", -1,
       "zeltool: the altimeter runs its firmware 1.41; start it in bootloader mode to update it\n"},
      {"another bootloader", SimPortMode::Bootloader, 0x0200, "good.dat", -1,
       "zeltool: the altimeter's bootloader is 2.00; this program talks to bootloader 1.0x only\n"},
      {"another firmware family", SimPortMode::Bootloader, 0x0103, "foreign.dat", -1,
       "zeltool: The firmware version is not intended for use with this software version.\n"
       "zeltool: New firmware version: 1.50\nzeltool: Expected version: 1.40\n"},
      {"pulled out", SimPortMode::Bootloader, 0x0103, "good.dat", 6,
       "zeltool: There was a timeout on a read operation.\n"
       "zeltool: This was most likely caused by prematurely removing the device.\n"
       "zeltool: Please reconnect and try again.\n"},
  };
  LogCapture log;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SimHidBackend backend{0.01};
    const std::shared_ptr<SimInterface> plugged =
        c.mode == SimPortMode::Bootloader ? PlugSimBootloader(backend, std::make_shared<SimBootloader>(), c.version)
                                          : PlugSimAltimeter(backend, std::make_shared<SimAltimeter>(), c.version);
    plugged->SetRemovedAtTransfer(c.removedAtTransfer);
    const ZeltoolDevices devices(backend, false);
    const ToolRun run = Zeltool({L"firmware-update", folder.WidePath(c.file)});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    std::istringstream lines(run.err);
    std::string failure, line;
    while (std::getline(lines, line)) {
      if (line.rfind("firmware written: ", 0) != 0) failure += line + '\n';
    }
    EXPECT_EQ(failure, c.says);
  }
}

TEST(FirmwareCommandsTest, InfoTellsVersionsLengthAndBlocks) {
  TempFolder folder;
  WriteBinary(folder.Path("image.bin"), PatternBinary(0x3000));
  ASSERT_EQ(Zeltool({L"firmware-pack", folder.WidePath("image.bin"), folder.WidePath("a.dat")}).status, 0);
  const ToolRun info = Zeltool({L"firmware-info", folder.WidePath("a.dat")});
  EXPECT_EQ(info.status, 0);
  EXPECT_EQ(info.err, "");
  EXPECT_EQ(info.out, folder.Path("a.dat").string() +
                          ": firmware file, format 1.00 (0x0100)\n"
                          "  firmware version    1.41 (0x0141)\n"
                          "  bootloader version  1.00 (0x0100)\n"
                          "  image length        12288 bytes\n"
                          "  blocks              193 (0 to 192), 192 to send\n"
                          "  scrambling key      0x5ac3, XOR-ed with every little-endian 16-bit word of the image\n");

  FirmwareFileRecipe foreign;
  foreign.firmwareVersion = 0x0150;
  foreign.length = 70000;
  WriteFirmwareFile(folder.Path("b.dat"), foreign);
  const ToolRun odd = Zeltool({L"firmware-info", folder.WidePath("b.dat")});
  EXPECT_EQ(odd.status, 0);
  EXPECT_NE(odd.out.find("  firmware version    1.50 (0x0150), not for this program (it takes 1.4x)\n"),
            std::string::npos);
  EXPECT_NE(odd.out.find("  image length        70000 bytes, more than the image holds\n"
                         "  blocks              1024 (0 to 1023), 4 to send\n"),
            std::string::npos);
  EXPECT_EQ(odd.err, "") << "no byte lies past the length";
}

// A file scrambled with another key loads, as garbage; its padding past the
// length, erased flash in a file of ours, gives it away.
TEST(FirmwareCommandsTest, InfoWarnsOfAFileMadeWithAnotherKey) {
  TempFolder folder;
  const struct {
    const char* what;
    uint16_t keyChange;  // the other key XOR ours
    size_t plainSize;
    const char* says;
  } cases[] = {
      {"another key", 0x1234, 1000, "warning: 64536 of the bytes"},
      {"another key, one word past the length", 0x0001, kFirmwareImageSize - 2, "warning: 1 of the bytes"},
      {"our key", 0, 1000, nullptr},
      {"another key, nothing past the length", 0x1234, kFirmwareImageSize, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    FirmwareFileRecipe recipe;
    recipe.plain = PatternBinary(c.plainSize);
    std::vector<uint8_t> bytes = FirmwareFileBytes(recipe);
    constexpr size_t kImageOffset = 22;
    for (size_t i = kImageOffset; i < kImageOffset + kFirmwareImageSize; i += 2) {
      bytes[i] ^= static_cast<uint8_t>(c.keyChange);
      bytes[i + 1] ^= static_cast<uint8_t>(c.keyChange >> 8);
    }
    WriteBinary(folder.Path("f.dat"), bytes);
    const ToolRun info = Zeltool({L"firmware-info", folder.WidePath("f.dat")});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("  scrambling key      0x5ac3,"), std::string::npos) << info.out;
    if (c.says == nullptr) {
      EXPECT_EQ(info.err, "");
      continue;
    }
    EXPECT_EQ(info.err.rfind(std::string("zeltool: ") + c.says, 0), 0u) << info.err;
    EXPECT_NE(info.err.find("past the image's length do not unscramble to erased flash (0xFF) with the key 0x5ac3; "
                            "the file was probably made with another key"),
              std::string::npos)
        << info.err;
    EXPECT_EQ(std::count(info.err.begin(), info.err.end(), '\n'), 1) << info.err;
  }
}

TEST(FirmwareCommandsTest, BadInputGivesOneErrorLineAndKeepsTheOutput) {
  TempFolder folder;
  WriteBinary(folder.Path("good.bin"), PatternBinary(100));
  WriteBinary(folder.Path("empty.bin"), {});
  WriteBinary(folder.Path("big.bin"), PatternBinary(kFirmwareImageSize + 1));
  const auto recipe = [](void (*edit)(FirmwareFileRecipe&)) {
    FirmwareFileRecipe s;
    edit(s);
    return s;
  };
  WriteFirmwareFile(folder.Path("magic.dat"), recipe([](FirmwareFileRecipe& s) { s.wrongMagic = true; }));
  WriteFirmwareFile(folder.Path("short.dat"), recipe([](FirmwareFileRecipe& s) { s.fileSize = 65561; }));
  WriteFirmwareFile(folder.Path("zero.dat"), recipe([](FirmwareFileRecipe& s) { s.length = 0; }));
  WriteFirmwareFile(folder.Path("format.dat"), recipe([](FirmwareFileRecipe& s) { s.formatVersion = 0x0101; }));
  const std::wstring good = folder.WidePath("good.bin");
  const std::wstring out = folder.WidePath("out.dat");
  const struct {
    std::vector<std::wstring> args;
    int status;
    const char* says;
  } cases[] = {
      {{L"firmware-pack", good}, 2, "usage: zeltool firmware-pack IMAGE.bin OUT.dat"},
      {{L"firmware-pack", good, out, L"--firmware"}, 2, "usage:"},
      {{L"firmware-pack", good, out, L"--firmware", L"0x12345"}, 2, "usage:"},
      {{L"firmware-pack", good, out, L"--bootloader", L"1.00"}, 2, "usage:"},
      {{L"firmware-pack", good, out, L"--firmware", L"0x"}, 2, "usage:"},
      {{L"firmware-pack", good, out, L"--speed", L"1"}, 2, "usage:"},
      {{L"firmware-pack", folder.WidePath("missing.bin"), out}, 1, "missing.bin cannot be read"},
      {{L"firmware-pack", folder.WidePath(""), out}, 1, "cannot be read"},
      {{L"firmware-pack", folder.WidePath("empty.bin"), out}, 1, "empty.bin is empty"},
      {{L"firmware-pack", folder.WidePath("big.bin"), out}, 1, "big.bin is larger than 65536 bytes"},
      {{L"firmware-pack", good, folder.WidePath("no-folder/out.dat")}, 1, "out.dat cannot be written"},
      {{L"firmware-info"}, 2, "usage: zeltool firmware-info FILE.dat"},
      {{L"firmware-info", folder.WidePath("missing.dat")}, 1, "missing.dat cannot be opened"},
      {{L"firmware-info", folder.WidePath("magic.dat")}, 1, "magic.dat is not a firmware file"},
      {{L"firmware-info", folder.WidePath("short.dat")}, 1, "short.dat ends early"},
      {{L"firmware-info", folder.WidePath("zero.dat")}, 1, "zero.dat is not a valid firmware file"},
      {{L"firmware-info", folder.WidePath("format.dat")}, 1, "has file format 1.01 (0x0101); only 1.00 is read"},
  };
  for (const auto& c : cases) {
    WriteFileBytes(folder.Path("out.dat"), "old");
    const ToolRun run = Zeltool(c.args);
    const std::string what = NarrowWords(c.args);
    EXPECT_EQ(run.status, c.status) << what;
    EXPECT_EQ(run.out, "") << what;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << what << ": " << run.err;
    EXPECT_EQ(run.err.rfind("zeltool: ", 0), 0u) << what << ": " << run.err;
    EXPECT_NE(run.err.find(c.says), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(ReadFileBytes(folder.Path("out.dat")), "old") << what;
  }
}

}  // namespace
