#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "device/AltimeterLink.h"
#include "device/BootloaderReports.h"
#include "device/FirmwareFixtures.h"
#include "device/TimeOutLimits.h"
#include "sim/SimBootloader.h"
#include "support/LogCapture.h"

namespace {

// A link connected to a simulated bootloader, a firmware file, and what an
// update reported.
class UpdateRig {
 public:
  explicit UpdateRig(double timeoutScale = 0.01) : backend(timeoutScale) {
    sim = PlugSimBootloader(backend, bootloader);
    connected = link.Connect(nullptr, true) == 1;
  }

  int Update(const FirmwareFileRecipe& recipe) {
    WriteFirmwareFile(path, recipe);
    return UpdateFrom(path);
  }
  int UpdateFrom(const std::filesystem::path& path) {
    return link.UpdateFirmware(&RecordProgress, this, path, &format, &hardware, &bootloaderVersion, &firmwareVersion);
  }

  // Blocks 0 to last, each once, in order.
  bool ProgressCovered(int last) const {
    if (static_cast<int>(progress.size()) != last + 1) return false;
    for (int i = 0; i <= last; ++i) {
      if (progress[i] != i) return false;
    }
    return lastBlockSeen == last;
  }

  SimHidBackend backend;
  std::shared_ptr<SimBootloader> bootloader = std::make_shared<SimBootloader>();
  std::shared_ptr<SimInterface> sim;
  AltimeterLink link{backend};
  bool connected = false;
  TempFolder folder;
  const std::string path = folder.Path("update.dat").string();
  uint16_t format = kUntouched, hardware = kUntouched, bootloaderVersion = kUntouched, firmwareVersion = kUntouched;
  std::vector<int> progress;
  int lastBlockSeen = -2;

 private:
  static void RecordProgress(void* context, int blockIndex, int lastBlockIndex) {
    auto* rig = static_cast<UpdateRig*>(context);
    rig->progress.push_back(blockIndex);
    rig->lastBlockSeen = lastBlockIndex;
  }
};

std::vector<uint8_t> Padded(std::vector<uint8_t> plain) {
  plain.resize(kFirmwareImageSize, kErasedFlashByte);
  return plain;
}

TEST(FirmwareUpdateTest, PackedImageArrivesIdenticalWithEmptyBlocksSkipped) {
  std::vector<uint8_t> plain = PatternBinary(5000);  // blocks 0..78, the last one partly padding
  std::fill_n(plain.begin() + 3 * 64, 64, kErasedFlashByte);
  std::fill_n(plain.begin() + 40 * 64, 128, kErasedFlashByte);
  UpdateRig rig;
  ASSERT_TRUE(rig.connected);
  ASSERT_TRUE(SaveFirmwareFile(rig.path, *FirmwareImage::FromPlain(plain), 0x0105, 0x0143));
  LogCapture log;
  ASSERT_EQ(rig.UpdateFrom(rig.path), 0);

  EXPECT_EQ(rig.bootloader->Flash(), Padded(plain));
  std::vector<uint16_t> expected;
  for (int i = 0; i <= 78; ++i) {
    if (i != 3 && i != 40 && i != 41) expected.push_back(static_cast<uint16_t>(i * 64));
  }
  EXPECT_EQ(rig.bootloader->WrittenAddresses(), expected);
  EXPECT_TRUE(rig.ProgressCovered(78));
  EXPECT_EQ(rig.format, 0x0100);
  EXPECT_EQ(rig.bootloaderVersion, 0x0105);
  EXPECT_EQ(rig.firmwareVersion, 0x0143);
  EXPECT_EQ(rig.hardware, kSimHardwareVersion);
  EXPECT_TRUE(log.Contains("Reading file.\nMaxBlockIndex: 78\nConnected to device.\nHardware Version: 0121\n"));
  EXPECT_TRUE(log.Contains("Written Block: 0\nWritten Block: 40\nWritten Block: 80\nWritten Block: 100\n"));
  EXPECT_TRUE(log.Contains("Written Block: 1380\n"));
  EXPECT_TRUE(rig.link.IsBootloaderMode() && rig.link.IsConnected()) << "the link stays as it was";
}

// A bootloader keeps its place in a block across a re-plug; the connection
// ends that block before it reports the device.
// A bootloader left waiting for the rest of a block would flash whatever came
// next as that rest: the link sends it nothing until it has been removed and
// plugged in again, which starts it afresh.
TEST(FirmwareUpdateTest, AnUpdateCutInMidBlockSendsNothingMoreUntilTheBootloaderIsPluggedInAgain) {
  UpdateRig rig;
  ASSERT_TRUE(rig.connected);
  LogCapture log;
  WriteFirmwareFile(rig.path, FirmwareFileRecipe{});
  // The query and its answer, then the first block's command: the worker throws as the address goes.
  const int blockAddress = rig.sim->TransfersStarted() + 3;
  rig.sim->SetActionAtTransfer(blockAddress, [] { throw std::bad_alloc(); });
  EXPECT_THROW(rig.UpdateFrom(rig.path), std::bad_alloc);

  const int sent = rig.sim->TransfersStarted();
  EXPECT_EQ(rig.link.Connect(nullptr, true), -2);
  EXPECT_EQ(rig.UpdateFrom(rig.path), -10) << "not connected";
  EXPECT_EQ(rig.sim->TransfersStarted(), sent) << "nothing reached the bootloader";

  rig.sim->Remove();
  rig.link.InterfaceRemoved({DeviceBroadcast::kDeviceInterfaceType, rig.sim->Path()});
  rig.sim = PlugSimBootloader(rig.backend, rig.bootloader);
  ASSERT_EQ(rig.link.Connect(nullptr, true), 1);
  ASSERT_EQ(rig.UpdateFrom(rig.path), 0);
  EXPECT_EQ(rig.bootloader->Flash(), Padded(FirmwareFileRecipe{}.plain));
}

TEST(FirmwareUpdateTest, VersionOutputsAndProgressMayBeNull) {
  UpdateRig rig;
  WriteFirmwareFile(rig.path, FirmwareFileRecipe{});
  LogCapture log;
  EXPECT_EQ(rig.link.UpdateFirmware(nullptr, nullptr, rig.path, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(rig.bootloader->Flash(), Padded(FirmwareFileRecipe{}.plain));
}

TEST(FirmwareUpdateTest, BlocksExaminedFollowTheLengthAndStayInTheImage) {
  const struct {
    int32_t length;
    int lastBlock;
  } cases[] = {{100, 1}, {0x3000, 192}, {65536, 1023}, {INT32_MAX, 1023}};
  for (const auto& c : cases) {
    UpdateRig rig;
    FirmwareFileRecipe recipe;
    recipe.plain = PatternBinary(kFirmwareImageSize);
    recipe.length = c.length;
    LogCapture log;
    ASSERT_EQ(rig.Update(recipe), 0) << c.length;
    EXPECT_TRUE(rig.ProgressCovered(c.lastBlock)) << c.length;
    const auto written = rig.bootloader->WrittenAddresses();
    ASSERT_EQ(written.size(), static_cast<size_t>(c.lastBlock + 1)) << c.length;
    EXPECT_EQ(written.back(), c.lastBlock * 64) << c.length;
  }
}

TEST(FirmwareUpdateTest, ErasedImageSendsNothingButReportsEveryBlock) {
  UpdateRig rig;
  FirmwareFileRecipe recipe;
  recipe.plain.assign(kFirmwareImageSize, kErasedFlashByte);
  LogCapture log;
  const int queriesBefore = rig.bootloader->HardwareQueries();
  const int transfersBefore = rig.sim->TransfersStarted();
  EXPECT_EQ(rig.Update(recipe), 0);
  EXPECT_TRUE(rig.ProgressCovered(1023));
  EXPECT_EQ(rig.bootloader->BlocksReceived(), 0);
  EXPECT_EQ(rig.bootloader->HardwareQueries() - queriesBefore, 1) << "the hardware is still checked";
  EXPECT_EQ(rig.sim->TransfersStarted() - transfersBefore, 2);
}

TEST(FirmwareUpdateTest, ChecksRunInOrderAndTheFirstFailureDecides) {
  enum Device { Ready, NotBootloaderMode, Unopenable, Silent, Hardware0130 };
  FirmwareFileRecipe good;
  const auto edited = [&](void (*edit)(FirmwareFileRecipe&)) {
    FirmwareFileRecipe recipe = good;
    edit(recipe);
    return recipe;
  };
  const auto allWrong = [](FirmwareFileRecipe& s) {
    s.formatVersion = 0x0101;
    s.bootloaderVersion = 0x0110;
    s.firmwareVersion = 0x0150;
  };
  const auto versionsWrong = [](FirmwareFileRecipe& s) {
    s.bootloaderVersion = 0x0110;
    s.firmwareVersion = 0x0150;
  };
  const struct {
    const char* what;
    Device device;
    FirmwareFileRecipe recipe;
    bool missingFile;
    int result;
    uint16_t format, bootloader, firmware, hardware;
  } cases[] = {
      {"not in bootloader mode", NotBootloaderMode, edited(allWrong), true, -10, kUntouched, kUntouched, kUntouched,
       kUntouched},
      {"file missing", Hardware0130, good, true, -6, kUntouched, kUntouched, kUntouched, kUntouched},
      {"wrong magic", Ready, edited([](FirmwareFileRecipe& s) { s.wrongMagic = true; s.formatVersion = 0x0101; }), false,
       -9, kUntouched, kUntouched, kUntouched, kUntouched},
      {"shorter than the magic", Ready, edited([](FirmwareFileRecipe& s) { s.fileSize = 10; }), false, -9, kUntouched,
       kUntouched, kUntouched, kUntouched},
      {"format version 0x0101", Ready, edited(allWrong), false, -8, 0x0101, kUntouched, kUntouched, kUntouched},
      {"one byte short", Ready,
       edited([](FirmwareFileRecipe& s) { s.fileSize = 65561; s.bootloaderVersion = 0x0110; }), false, -9, kUntouched,
       kUntouched, kUntouched, kUntouched},
      {"length 0", Unopenable, edited([](FirmwareFileRecipe& s) { s.length = 0; s.bootloaderVersion = 0x0110; }), false,
       -9, 0x0100, kUntouched, kUntouched, kUntouched},
      {"negative length", Ready, edited([](FirmwareFileRecipe& s) { s.length = -64; }), false, -9, 0x0100, kUntouched,
       kUntouched, kUntouched},
      {"bootloader 0x0110", Unopenable, edited(versionsWrong), false, -11, 0x0100, 0x0110, kUntouched, kUntouched},
      {"firmware 0x0150", Unopenable, edited([](FirmwareFileRecipe& s) { s.firmwareVersion = 0x0150; }), false, -12,
       0x0100, 0x0103, 0x0150, kUntouched},
      {"device cannot be opened", Unopenable, good, false, -7, 0x0100, 0x0103, 0x0142, kUntouched},
      {"no hardware answer", Silent, good, false, -4, 0x0100, 0x0103, 0x0142, kUntouched},
      {"hardware 0x0130", Hardware0130, good, false, -13, 0x0100, 0x0103, 0x0142, 0x0130},
  };
  for (const auto& c : cases) {
    UpdateRig rig;
    switch (c.device) {
      case NotBootloaderMode: rig.link.Disconnect(); break;
      case Unopenable:
        rig.link.device.Close();
        rig.sim->SetUnopenable();
        break;
      case Silent: rig.sim->SetSilentFromRead(0); break;
      case Hardware0130: rig.bootloader->SetHardwareVersion(0x0130); break;
      case Ready: break;
    }
    if (!c.missingFile) WriteFirmwareFile(rig.path, c.recipe);
    LogCapture log;
    EXPECT_EQ(rig.UpdateFrom(rig.path), c.result) << c.what;
    EXPECT_EQ(rig.format, c.format) << c.what;
    EXPECT_EQ(rig.bootloaderVersion, c.bootloader) << c.what;
    EXPECT_EQ(rig.firmwareVersion, c.firmware) << c.what;
    EXPECT_EQ(rig.hardware, c.hardware) << c.what;
    EXPECT_EQ(rig.bootloader->BlocksReceived(), 0) << c.what;
    EXPECT_TRUE(rig.progress.empty()) << c.what;
    EXPECT_EQ(log.Contains("Failed to read.\n"), c.device == Silent) << c.what;
  }
}

// Opened by its wide name: a folder named in another script than the ANSI
// code page's (a Cyrillic user name, say) holds the file.
TEST(FirmwareUpdateTest, AFileInAFolderNamedInAnotherScriptUpdates) {
  UpdateRig rig;
  const std::filesystem::path folder =
      rig.folder.Path() / std::filesystem::u8path(u8"\u041f\u0440\u043e\u0448\u0438\u0432\u043a\u0430");
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "update.dat";
  const std::vector<uint8_t> plain = PatternBinary(200);
  ASSERT_TRUE(SaveFirmwareFile(file, *FirmwareImage::FromPlain(plain), 0x0105, 0x0143));
  const LogCapture log;
  ASSERT_EQ(rig.UpdateFrom(file), 0);
  EXPECT_EQ(rig.bootloader->Flash(), Padded(plain));
}

TEST(FirmwareUpdateTest, RejectedBlockIsAProtocolErrorAfterTheBlocksBefore) {
  for (const uint8_t answer : {0x00, 0x02, 0xFF}) {
    SCOPED_TRACE(static_cast<int>(answer));
    UpdateRig rig;
    rig.bootloader->SetRejectedBlock(2, answer);
    LogCapture log;
    EXPECT_EQ(rig.Update(FirmwareFileRecipe{}), -3);
    EXPECT_TRUE(log.Contains("Written Block: 40\nProtocol error.\n"));
    EXPECT_EQ(rig.bootloader->WrittenAddresses(), (std::vector<uint16_t>{0, 64}));
    EXPECT_EQ(rig.bootloader->BlocksReceived(), 3) << "no block is sent after the refused one";
    const std::vector<uint8_t> flash = rig.bootloader->Flash();
    const std::vector<uint8_t> plain = FirmwareFileRecipe{}.plain;
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 128, flash.begin()));
    EXPECT_EQ(flash[128], kErasedFlashByte);
    EXPECT_EQ(rig.progress, (std::vector<int>{0, 1, 2})) << "no progress past the failure";
  }
}

TEST(FirmwareUpdateTest, VanishingOrSilentDeviceTimesOutMidUpdate) {
  // Transfers of the update: 0 query, 1 answer, then per block command,
  // address, data, answer.
  const struct {
    const char* what;
    int removedAtTransfer;
    int silentFromRead;
    const char* line;
  } cases[] = {
      {"removed at block 1's address", 7, -1, "Failed to write.\n"},
      {"removed at block 1's answer", 9, -1, "Failed to read.\n"},
      {"silent from block 1's answer", -1, 2, "Failed to read.\n"},
  };
  for (const auto& c : cases) {
    UpdateRig rig;
    if (c.removedAtTransfer >= 0) rig.sim->SetRemovedAtTransfer(rig.sim->TransfersStarted() + c.removedAtTransfer);
    if (c.silentFromRead >= 0) rig.sim->SetSilentFromRead(rig.sim->ReadsStarted() + c.silentFromRead);
    LogCapture log;
    EXPECT_EQ(rig.Update(FirmwareFileRecipe{}), -4) << c.what;
    EXPECT_TRUE(log.Contains(c.line)) << c.what;
    EXPECT_EQ(rig.bootloader->WrittenAddresses().front(), 0) << c.what;
    EXPECT_EQ(rig.progress.back(), 1) << c.what;
  }
}

TEST(FirmwareUpdateTest, AnswersAreAwaitedUpToTheirLimit) {
  constexpr double kScale = 0.05;
  const struct {
    double fraction;
    int result;
  } cases[] = {{kJustInside, 0}, {kJustPast, -4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fraction);
    UpdateRig rig(kScale);
    rig.sim->SetReplyDelayMs(ScaledDelayMs(c.fraction, kReportLimitMs, kScale));
    FirmwareFileRecipe oneBlock;
    oneBlock.plain = PatternBinary(64);
    LogCapture log;
    EXPECT_EQ(rig.Update(oneBlock), c.result) << "the hardware answer, then the block's";
  }
}

TEST(FirmwareUpdateTest, SlowRepliesOnlyTakeLonger) {
  UpdateRig rig;
  rig.sim->SetReplyDelayMs(2);
  LogCapture log;
  EXPECT_EQ(rig.Update(FirmwareFileRecipe{}), 0);
  EXPECT_EQ(rig.bootloader->Flash(), Padded(FirmwareFileRecipe{}.plain));
}

TEST(FirmwareUpdateTest, LogBaseAfterwardsIsThatOfTheLastLineWritten) {
  const struct {
    uint8_t fill;
    const char* tail;
  } cases[] = {
      {kErasedFlashByte, "Hardware Version: 0121\nff\n"},  // left in hexadecimal
      {0x00, "Written Block: c0\n255\n"},                   // back to decimal before each line end
  };
  for (const auto& c : cases) {
    UpdateRig rig;
    FirmwareFileRecipe recipe;
    recipe.plain.assign(256, c.fill);
    LogCapture log;
    ASSERT_EQ(rig.Update(recipe), 0);
    DebugLog << 255 << std::endl;
    EXPECT_TRUE(log.Contains(c.tail)) << log.Text();
  }
}

}  // namespace
