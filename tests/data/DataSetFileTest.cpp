#include "data/DataSetFile.h"

#include <gtest/gtest.h>

#include <sstream>

#include "data/CountedString.h"
#include "data/PacketFixtures.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"

namespace {

std::string Bytes(const void* data, size_t size) { return std::string(static_cast<const char*>(data), size); }

std::string PacketBytes(const std::vector<DataPacket>& packets, size_t first, size_t count) {
  return Bytes(packets.data() + first, count * kPacketSize);
}

std::string Le16(uint16_t value) { return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)}; }

// Everything a load may change, as one comparable text.
std::string MemoryOf(AltimeterLink& link) {
  const auto lock = link.LockData();
  std::ostringstream state;
  state << PacketBytes(link.packets, 0, link.packets.size()) << '|'
        << Bytes(link.settings.image.data(), link.settings.image.size()) << '|' << link.settings.adcOffset << ' '
        << link.settings.maxReadings << ' ' << static_cast<int>(link.settings.lineAMode) << '|';
  for (const std::string& comment : link.comments) state << comment << ';';
  state << '|' << link.currentSet.setNumber << ' ' << link.currentSet.SampleCount();
  return state.str();
}

class DataSetFileTest : public testing::Test {
 protected:
  // A file of three packets with the comment "abc": 26 + 192 + 16 + 4 + 4 bytes.
  std::string GoodFile() {
    link.packets = PacketsOfKinds("Scc");
    link.comments = {"abc"};
    EXPECT_TRUE(link.SaveDataSet(folder.WidePath("good.zel"), 0));
    return ReadFileBytes(folder.Path("good.zel"));
  }

  // Loads `bytes` from a file; records what ReadDataSetFile makes of them.
  bool Load(const std::string& bytes, DataSetFileStatus* status = nullptr) {
    WriteFileBytes(folder.Path("load.zel"), bytes);
    if (status != nullptr) {
      const LogCapture quiet;
      DataSetFileContent content;
      *status = ReadDataSetFile(folder.Path("load.zel"), content);
    }
    return link.LoadDataSet(folder.WidePath("load.zel"));
  }

  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
  TempFolder folder;
};

TEST_F(DataSetFileTest, SavedFilesHoldTheSetItsSettingsAndItsComment) {
  const struct {
    const char* kinds;
    std::vector<std::string> comments;
    int set;
    size_t firstPacket;
    size_t packetCount;
    std::string commentField;
    size_t size;
  } cases[] = {
      {"cSccS", {}, 0, 1, 3, std::string("\x01\0\0\0\0", 5), 239},
      {"SccSEc", {"x", "abc"}, 1, 3, 1, std::string("\x04\0\0\0abc\0", 8), 114},
      {"S", {""}, 0, 0, 1, std::string("\x01\0\0\0\0", 5), 111},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.kinds);
    link.packets = PacketsOfKinds(c.kinds);
    link.comments = c.comments;
    ASSERT_TRUE(link.SaveDataSet(folder.WidePath("set.zel"), c.set));
    const std::string expected = Bytes(kDataSetFileMagic.data(), kDataSetFileMagic.size()) + Le16(0x0101) +
                                 Le16(0x0120) + Le16(0x0140) + Le16(0x0141) +
                                 Le16(static_cast<uint16_t>(c.packetCount)) +
                                 PacketBytes(link.packets, c.firstPacket, c.packetCount) +
                                 Bytes(link.settings.image.data(), 16) + c.commentField;
    const std::string bytes = ReadFileBytes(folder.Path("set.zel"));
    EXPECT_EQ(c.size, bytes.size());
    EXPECT_EQ(expected, bytes);
  }
}

TEST_F(DataSetFileTest, ReadsEveryFormatVersionOfTheFirstFamily) {
  const std::string good = GoodFile();
  const std::string withoutComment = good.substr(0, good.size() - 8);
  const struct {
    uint16_t version;
    const std::string& bytes;
    bool loads;
    const char* comment;
  } cases[] = {
      {0x0100, withoutComment, true, ""}, {0x0100, good, true, ""},      {0x0101, good, true, "abc"},
      {0x0105, good, true, "abc"},        {0x010F, good, true, "abc"},   {0x0110, good, false, "kept"},
      {0x0200, good, false, "kept"},      {0x0000, good, false, "kept"}, {0x0101, withoutComment, true, ""},
      {0x010F, withoutComment, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.version << " of " << std::dec << c.bytes.size() << " bytes");
    link.comments = {"kept"};
    const LogCapture fileLog;
    EXPECT_EQ(c.loads, Load(c.bytes.substr(0, 16) + Le16(c.version) + c.bytes.substr(18)));
    EXPECT_EQ(std::vector<std::string>{c.comment}, link.comments);
    if (c.version >= 0x0110) {
      EXPECT_EQ("", fileLog.Text()) << "a refused version says nothing";
    }
  }
}

TEST_F(DataSetFileTest, DamagedFilesChangeNothingInMemory) {
  const std::string good = GoodFile();  // 242 bytes
  const auto with = [&](size_t offset, const std::string& bytes) {
    return good.substr(0, offset) + bytes + good.substr(offset + bytes.size());
  };
  const size_t settingsAt = 26 + 3 * kPacketSize;
  const struct {
    const char* what;
    std::string bytes;
    DataSetFileStatus status;
  } cases[] = {
      {"empty", "", DataSetFileStatus::NotDataSetFile},
      {"other magic", with(3, std::string(1, '\0')), DataSetFileStatus::NotDataSetFile},
      {"cut in the magic", good.substr(0, 10), DataSetFileStatus::NotDataSetFile},
      {"cut before the version", good.substr(0, 16), DataSetFileStatus::Damaged},
      {"cut in the versions", good.substr(0, 21), DataSetFileStatus::Damaged},
      {"cut before the count", good.substr(0, 24), DataSetFileStatus::Damaged},
      {"cut in a packet", good.substr(0, 26 + 100), DataSetFileStatus::Damaged},
      {"cut in the settings", good.substr(0, settingsAt + 10), DataSetFileStatus::Damaged},
      {"cut in the comment's length", good.substr(0, settingsAt + 18), DataSetFileStatus::Damaged},
      {"cut in the comment", good.substr(0, good.size() - 2), DataSetFileStatus::Damaged},
      {"settings changed", with(settingsAt + 3, "\x7F"), DataSetFileStatus::BadChecksum},
      {"packet count beyond the end", with(24, "\xFF\xFF"), DataSetFileStatus::Damaged},
      {"comment length beyond the end", with(settingsAt + 16, "\xFF\xFF\xFF\xFF"), DataSetFileStatus::Damaged},
  };
  link.packets = PacketsOfKinds("SccSc");
  link.comments = {"downloaded", "not saved yet"};
  link.settings.adcOffset = 5;
  link.settings.Build();
  ASSERT_TRUE(link.SelectDataSet(1));
  const std::string before = MemoryOf(link);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const LogCapture fileLog;
    DataSetFileStatus status = DataSetFileStatus::Loaded;
    EXPECT_FALSE(Load(c.bytes, &status));
    EXPECT_EQ(c.status, status);
    EXPECT_EQ(before, MemoryOf(link));
    EXPECT_EQ(c.status == DataSetFileStatus::NotDataSetFile, fileLog.Contains("Not an ZEL file.\n"));
  }
  EXPECT_FALSE(link.LoadDataSet(folder.WidePath("missing.zel")));
  EXPECT_FALSE(link.LoadDataSet(folder.Path().wstring()));
  EXPECT_EQ(before, MemoryOf(link));
}

TEST_F(DataSetFileTest, PacketCountZeroLoadsAnEmptyList) {
  const std::string good = GoodFile();
  ASSERT_TRUE(Load(good.substr(0, 24) + Le16(0) + good.substr(26 + 3 * kPacketSize)));
  EXPECT_TRUE(link.packets.empty());
  EXPECT_EQ(std::vector<std::string>{"abc"}, link.comments);
  EXPECT_TRUE(link.SelectDataSet(0));
  EXPECT_TRUE(link.currentSet.IsEmpty());
}

TEST_F(DataSetFileTest, ASetCutByAnErasedPacketShowsWhatASaveWritesBack) {
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(836), SampleWord(830)}),
                  MakePacket(kErasedPacketKind, {SampleWord(820)}), MakePacket(1, {SampleWord(810)})};
  link.comments = {""};
  ASSERT_TRUE(link.SelectDataSet(0));
  const std::vector<int32_t> shown = link.currentSet.adc;
  ASSERT_TRUE(link.SaveDataSet(folder.WidePath("cut.zel"), 0));
  ASSERT_TRUE(link.LoadDataSet(folder.WidePath("cut.zel")));
  ASSERT_TRUE(link.SelectDataSet(0));
  EXPECT_EQ(shown, link.currentSet.adc);
  EXPECT_EQ((std::vector<int32_t>{836, 830}), shown);
}

TEST_F(DataSetFileTest, LogsItsNumbersInTheBasesTheProgramAlwaysHas) {
  link.packets = PacketsOfKinds("c" + std::string(11, 'S') + std::string(11, 'c'));  // set 10: packets 11 to 22
  DebugLog << std::hex;
  ASSERT_TRUE(link.SaveDataSet(folder.WidePath("ten.zel"), 10));
  EXPECT_EQ(
      "Selected set to save: 10\nSet address: 11\nSet: 10\nSet Address: 11\nPacket Count: 12\n"
      "Successfully serialized settings.\nComment: \n",
      log.Text());

  for (const bool hex : {true, false}) {
    const LogCapture loadLog;
    if (hex) DebugLog << std::hex;
    ASSERT_TRUE(link.LoadDataSet(folder.WidePath("ten.zel")));
    const std::string text = loadLog.Text();
    EXPECT_EQ(0u, text.find("Correct version.\n"));
    EXPECT_TRUE(loadLog.Contains(hex ? "Packet count: c\n" : "Packet count: 12\n")) << text;
    EXPECT_TRUE(loadLog.Contains(hex ? "Read packet b\nParsing settings...\n" : "Read packet 11\nParsing")) << text;
    EXPECT_TRUE(loadLog.Contains("Successfully de-serialized.\nComment: \n")) << text;
  }
}

TEST_F(DataSetFileTest, AFailedSaveLeavesWhatWasThere) {
  const std::string good = GoodFile();
  WriteFileBytes(folder.Path("plain"), "not a folder");
  std::filesystem::create_directory(folder.Path("folder.zel"));
  const std::string listing = folder.Listing();
  const struct {
    const char* what;
    std::filesystem::path target;
    int set;
  } cases[] = {
      {"inside a plain file", folder.Path("plain") / "x.zel", 0},
      {"over a folder", folder.Path("folder.zel"), 0},
      {"a set that does not exist", folder.Path("good.zel"), 1},
      {"set -1", folder.Path("good.zel"), -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(link.SaveDataSet(c.target.wstring(), c.set));
    EXPECT_EQ(listing, folder.Listing()) << "nothing left beside the target";
    EXPECT_EQ(good, ReadFileBytes(folder.Path("good.zel")));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("folder.zel")));
  }
  link.packets = PacketsOfKinds("Sc");
  ASSERT_TRUE(link.SaveDataSet(folder.WidePath("good.zel"), 0)) << "a good file is replaced by a good one";
  EXPECT_EQ(good.size() - kPacketSize, ReadFileBytes(folder.Path("good.zel")).size());
  EXPECT_EQ(listing, folder.Listing());
}

TEST(CountedString, TakesTheTextUpToItsFirstZeroByte) {
  const struct {
    std::string bytes;
    const char* text;
    bool intact;
  } cases[] = {
      {std::string("\x04\0\0\0abc\0", 8), "abc", true},
      {std::string("\x06\0\0\0a\0bcd\0", 10), "a", true},
      {std::string("\x02\0\0\0ab", 6), "ab", true},
      {std::string("\0\0\0\0", 4), "", true},
      {std::string("\x01\0", 2), "", false},
      {std::string("\x09\0\0\0abc\0", 8), "abc", false},
      {std::string("\xFF\xFF\xFF\xFF", 4) + "abc", "abc", false},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.bytes);
    EXPECT_EQ(c.text, ReadCountedString(in));
    EXPECT_EQ(c.intact, !in.fail()) << c.text;
  }
  std::ostringstream out;
  ASSERT_TRUE(WriteCountedString(out, "abc"));
  EXPECT_EQ(std::string("\x04\0\0\0abc\0", 8), out.str());
}

TEST(PacketStreams, DoNothingOnAFailedStream) {
  DataPacket packet = MakePacket(kStartPacketKind, {0x1234});
  std::ostringstream out;
  out.setstate(std::ios::failbit);
  EXPECT_FALSE(WritePacket(out, packet));
  EXPECT_EQ("", out.str());

  std::istringstream in(std::string(100, '\x01'));
  in.setstate(std::ios::failbit);
  EXPECT_FALSE(ReadPacket(in, packet));
  EXPECT_EQ(0x1234, packet.Word(0));
  in.clear();
  EXPECT_TRUE(ReadPacket(in, packet));
  EXPECT_EQ(0x0101, packet.Word(0));
  EXPECT_FALSE(ReadPacket(in, packet)) << "36 bytes left";
}

}  // namespace
