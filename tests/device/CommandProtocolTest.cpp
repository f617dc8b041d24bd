#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "sim/SimAltimeterFixture.h"
#include "support/EchoModel.h"

namespace {

using CommandProtocolTest = SimAltimeterTest;

struct ProgressCall {
  int block;
  bool inBlock;
  bool setStart;
  bool operator==(const ProgressCall& other) const {
    return std::tie(block, inBlock, setStart) == std::tie(other.block, other.inBlock, other.setStart);
  }
};

void RecordProgress(void* context, int block, bool inBlock, bool setStart) {
  static_cast<std::vector<ProgressCall>*>(context)->push_back({block, inBlock, setStart});
}

// Where `lines` appear in the log, one after another.
bool LogHasInOrder(const std::string& log, const std::vector<std::string>& lines) {
  size_t at = 0;
  for (const std::string& line : lines) {
    at = log.find(line + "\n", at);
    if (at == std::string::npos) return false;
    at += line.size();
  }
  return true;
}

TEST_F(CommandProtocolTest, SettingsWrittenAreReadBackAndKeptAcrossCommands) {
  link.settings.inhibitTime = 35;
  link.settings.lineAMode = LineMode::Time;
  link.settings.lineAValue = 60;
  link.settings.adcOffset = -7;
  link.settings.Build();
  const auto written = link.settings.image;
  ASSERT_EQ(link.WriteSettings(), 0);
  EXPECT_EQ(altimeter->SettingsImage(), written);
  EXPECT_TRUE(LogHasInOrder(log.Text(), {"Resetting device.", "Writting Settings...", "Settings Packet Written: 0",
                                         "Settings Packet Written: 15", "Done."}));

  ASSERT_EQ(link.ClearData(), 0);
  ASSERT_EQ(link.ReadData(nullptr, nullptr), 0);
  link.settings.image.fill(0);
  ASSERT_EQ(link.ReadSettings(), 0);
  EXPECT_EQ(link.settings.image, written);
  EXPECT_TRUE(link.settings.Parse());
  EXPECT_EQ(link.settings.adcOffset, -7);
  EXPECT_TRUE(LogHasInOrder(log.Text(), {"Reading Settings...", "Settings Packet Read: 0", "Done."}));
}

TEST_F(CommandProtocolTest, EarlyCompletionInTheSettingsReadKeepsTheBytesBeforeIt) {
  link.settings.image.fill(0xAA);
  altimeter->SetEarlyCompletionAt(3);
  EXPECT_EQ(link.ReadSettings(), -3);
  EXPECT_TRUE(log.Contains("Premature end of data.\n"));
  const std::vector<uint8_t> image(link.settings.image.begin(), link.settings.image.begin() + 5);
  EXPECT_EQ(image, (std::vector<uint8_t>{0xE0, 0x03, 0xFF, 0xAA, 0xAA}));
}

TEST_F(CommandProtocolTest, DownloadOfEachMemoryKeepsItsBlocksUpToTheFirstErasedOne) {
  for (const MemoryPreset preset :
       {MemoryPreset::Empty, MemoryPreset::OneFlight, MemoryPreset::SeveralFlights, MemoryPreset::Full}) {
    const FlightMemory memory = PresetMemory(preset);
    altimeter->LoadMemory(memory);
    link.comments = {"old"};
    link.fastSet.Reset();
    const int reportsBefore = device->TransfersStarted();
    ASSERT_EQ(link.ReadData(nullptr, nullptr), 0);
    const std::vector<DataPacket> expected = UsedPart(memory);
    EXPECT_EQ(link.packets, expected);
    const auto sets = std::count_if(expected.begin(), expected.end(), [](const DataPacket& p) { return p.IsStart(); });
    EXPECT_EQ(link.comments, std::vector<std::string>(static_cast<size_t>(sets)));
    // 0xFFFF words are stored in the packets but never reach the live trace.
    size_t samples = 0;
    for (const DataPacket& packet : expected) {
      for (int k = 0; k < kWordsPerPacket; ++k) samples += packet.Word(k) != kNoSample;
    }
    EXPECT_EQ(link.fastSet.Snapshot().samples.size(), samples);
    const int blocksRead = std::min(UsedBlocks(memory) + 1, kMemoryBlocks);
    EXPECT_EQ(device->TransfersStarted() - reportsBefore, 1 + 35 * blocksRead);
  }
  EXPECT_EQ(link.packets.size(), 128u) << "a full memory needs no end block";
  EXPECT_EQ(DebugLog.flags() & std::ios::basefield, std::ios::hex) << "\"Code: [\" leaves the log in hexadecimal";
}

TEST_F(CommandProtocolTest, ProgressIsToldOfEachBlockAndEachSetStart) {
  altimeter->LoadMemory(PresetMemory(MemoryPreset::SeveralFlights));
  std::vector<ProgressCall> calls;
  ASSERT_EQ(link.ReadData(RecordProgress, &calls), 0);
  const std::vector<ProgressCall> firstBlock{{0, true, true},   {0, true, false}, {0, true, false},
                                             {0, true, false},  {0, true, false}, {0, true, false},
                                             {0, true, false},  {0, false, false}};
  ASSERT_GT(calls.size(), firstBlock.size());
  EXPECT_EQ(std::vector<ProgressCall>(calls.begin(), calls.begin() + 8), firstBlock);
  int setStarts = 0;
  for (const ProgressCall& call : calls) setStarts += call.setStart;
  EXPECT_EQ(setStarts, 3);
  EXPECT_EQ(calls.back(), (ProgressCall{static_cast<int>(link.packets.size()), true, false}))
      << "the erased block is announced but never kept";
}

TEST_F(CommandProtocolTest, UnexpectedCodeInsideABlockIsSkipped) {
  const FlightMemory memory = PresetMemory(MemoryPreset::OneFlight);
  altimeter->LoadMemory(memory);
  altimeter->SetStrayReplyAt(33 + 4, 7);  // before word 4 of block 1
  ASSERT_EQ(link.ReadData(nullptr, nullptr), 0);
  EXPECT_EQ(link.packets, UsedPart(memory));
  EXPECT_TRUE(LogHasInOrder(log.Text(), {"Code: [b]", "Invalid data.", "Code: [7]", "Code: [b]"}));
}

TEST_F(CommandProtocolTest, CancelIsSeenAroundEveryWord) {
  const FlightMemory memory = PresetMemory(MemoryPreset::OneFlight);
  altimeter->LoadMemory(memory);
  struct Case {
    int read;  // the read during which the user cancels
    size_t packetsKept;
    int readsMade;
  };
  // Reads of block b: words at 33b to 33b + 31, its completion at 33b + 32.
  for (const Case& c : {Case{0, 0, 1}, Case{31, 0, 32}, Case{32, 1, 33}, Case{33 * 5 + 17, 5, 33 * 5 + 18}}) {
    SCOPED_TRACE(c.read);
    const int readsBefore = hooked.Reads();
    hooked.DuringRead(readsBefore + c.read, [this] { link.RequestCancel(); });
    EXPECT_EQ(link.ReadData(nullptr, nullptr), -2);
    EXPECT_EQ(link.packets.size(), c.packetsKept);
    EXPECT_EQ(hooked.Reads() - readsBefore, c.readsMade) << "nothing is read after the cancel is seen";
    EXPECT_TRUE(link.comments.empty());
    // The replies left behind are not taken for the next download's.
    hooked.DuringRead(-1, nullptr);
    ASSERT_EQ(link.ReadData(nullptr, nullptr), 0);
    EXPECT_EQ(link.packets, UsedPart(memory));
  }
  EXPECT_TRUE(log.Contains("Requesting CancelIO.\n"));
}

TEST_F(CommandProtocolTest, LiveTraceIsCalibratedLikeTheSet) {
  const FlightMemory memory = PresetMemory(MemoryPreset::OneFlight);
  altimeter->LoadMemory(memory);
  link.settings.adcOffset = -40;
  link.fastSet.Reset();
  ASSERT_EQ(link.ReadData(nullptr, nullptr), 0);
  ASSERT_TRUE(link.SelectDataSet(0));
  const std::vector<double>& agl = link.currentSet.altitudeAgl;
  const double peak = *std::max_element(agl.begin(), agl.end());
  EXPECT_NEAR(link.fastSet.Snapshot().peakAltitude, peak, 0.01);

  FastSet uncalibrated;
  for (const DataPacket& packet : UsedPart(memory)) {
    for (int k = 0; k < kWordsPerPacket; ++k) uncalibrated.AddSample(packet.Word(k), 0);
  }
  EXPECT_GT(std::fabs(uncalibrated.Snapshot().peakAltitude - peak), 1.0) << "an offset this large moves the peak";
}

TEST_F(CommandProtocolTest, ClearErasesTheMemoryAndTheCommentsButNotThePackets) {
  altimeter->LoadMemory(PresetMemory(MemoryPreset::SeveralFlights));
  ASSERT_EQ(link.ReadData(nullptr, nullptr), 0);
  const size_t downloaded = link.packets.size();
  ASSERT_EQ(link.comments.size(), 3u);
  const int writesBefore = hooked.Writes();
  EXPECT_EQ(link.ClearData(), 0);
  EXPECT_EQ(hooked.Writes() - writesBefore, 1) << "one report, without a reset";
  EXPECT_TRUE(link.comments.empty());
  EXPECT_EQ(link.packets.size(), downloaded);
  EXPECT_EQ(UsedBlocks(altimeter->Memory()), 0);
  device->SetSilentFromRead(hooked.Reads());
  EXPECT_EQ(link.ClearData(), -1);
  EXPECT_FALSE(log.Contains("Could not read complete confirmation.")) << "a line of the other commands only";
}

// An altimeter whose replies come a few milliseconds apart, as a real one's
// do, behind real time-outs: a command that ends early leaves replies on their way.
class PacedAltimeterTest : public SimAltimeterTest {
 protected:
  PacedAltimeterTest() : SimAltimeterTest(1.0) {}
  void SetUp() override {
    SimAltimeterTest::SetUp();
    altimeter->LoadMemory(PresetMemory(MemoryPreset::Full));
    std::array<uint8_t, DeviceSettings::kImageSize> image{};
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(0x30 + i);
    altimeter->SetSettingsImage(image);
  }
};

TEST_F(PacedAltimeterTest, RepliesStillOnTheirWayDoNotAnswerTheNextCommand) {
  device->SetReplyDelayMs(3);
  const struct {
    const char* what;
    int read;  // of the download's, where the fault strikes
    bool cancel;
    int result;
  } cases[] = {
      {"cancel at the end of a block", 32, true, -2},
      {"cancel inside a block", 10, true, -2},
      {"completion inside a block", 10, false, -3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const int writesBefore = hooked.Writes();
    if (c.cancel) {
      hooked.DuringRead(hooked.Reads() + c.read, [this] { link.RequestCancel(); });
    } else {
      altimeter->SetReplyCodeAt(c.read, CodeByte(DeviceCode::Complete));
    }
    EXPECT_EQ(link.ReadData(nullptr, nullptr), c.result);
    EXPECT_EQ(hooked.Writes() - writesBefore, 3) << "no block is asked for after block 0";
    hooked.DuringRead(-1, nullptr);
    altimeter->ClearFaults();
    link.settings.image.fill(0);
    EXPECT_EQ(link.ReadSettings(), 0);
    EXPECT_EQ(link.settings.image, altimeter->SettingsImage());
  }
}

// A device that goes on talking past the bound: the drain gives up, and the
// next command fails in its own time-out instead of hanging.
TEST_F(PacedAltimeterTest, DrainOfADeviceThatKeepsTalkingIsBounded) {
  device->SetReplyDelayMs(30);  // under the quiet time: the input is never quiet
  hooked.DuringRead(hooked.Reads(), [this] { link.RequestCancel(); });
  EXPECT_EQ(link.ReadData(nullptr, nullptr), -2);
  const auto start = std::chrono::steady_clock::now();
  link.WriteSettings();
  // The rest of the block, 32 replies 30 ms apart, takes 960 ms to arrive.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(800));
}

TEST(CommandProtocolBootloaderTest, EveryCommandIsRefusedInBootloaderMode) {
  LogCapture log;
  SimHidBackend backend(0.01);
  const auto bootloader = backend.Plug(SimInterfacePath(kAltimeterVendorId, kBootloaderProductId, 0),
                                       {kAltimeterVendorId, kBootloaderProductId, 0x0103}, std::make_shared<EchoModel>());
  AltimeterLink link(backend);
  ASSERT_EQ(link.Connect(nullptr, true), 1);
  const int transfersOfConnect = bootloader->TransfersStarted();
  uint16_t value = 0x1234;
  link.comments = {"a"};
  EXPECT_EQ(link.ClearData(), -3);
  EXPECT_TRUE(link.comments.empty());
  link.comments = {"a"};
  EXPECT_EQ(link.ReadData(nullptr, nullptr), -3);
  EXPECT_TRUE(link.comments.empty());
  EXPECT_EQ(link.ReadSettings(), -3);
  EXPECT_EQ(link.WriteSettings(), -3);
  EXPECT_EQ(link.ReadPressureAdc(value), -3);
  EXPECT_EQ(link.ReadBatteryVoltage(value), -3);
  EXPECT_EQ(link.FireLines(), -3);
  EXPECT_FALSE(link.EmulateLaunch(nullptr, nullptr));
  EXPECT_EQ(value, 0x1234);
  EXPECT_EQ(bootloader->TransfersStarted(), transfersOfConnect) << "nothing is sent";
}

}  // namespace
