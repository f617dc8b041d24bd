#include <gtest/gtest.h>

#include <sstream>

#include "data/CsvExport.h"
#include "data/FlightFixtures.h"
#include "data/PacketFixtures.h"
#include "data/Python3Check.h"
#include "data/XmlEscape.h"
#include "data/XmlExport.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/SimAltimeterFixture.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"

namespace {

const char kCsvHeader[] =
    "Time, ADC, Voltage, Pressure, Altitude (MSL), Altitude (AGL), Smooth Velocity (km/h), Line A, Line B\n";
const char kXmlHead[] = "<xml>\n\t<flightdata version=\"1.0\">\n\t\t<device name=\"ZEL USB 1.2\" />\n";
const char kXmlTail[] = "\t\t</data>\n\t</flightdata>\n</xml>";

class ExportTest : public testing::Test {
 protected:
  std::string Csv(int set) {
    EXPECT_TRUE(link.ExportCsv(folder.WidePath("out.csv"), set));
    return ReadFileBytes(folder.Path("out.csv"));
  }
  std::string Xml(int set) {
    EXPECT_TRUE(link.ExportXml(folder.WidePath("out.xml"), set));
    if (HavePython3()) {
      EXPECT_TRUE(XmlParserTakes({folder.Path("out.xml")}));
    }
    return ReadFileBytes(folder.Path("out.xml"));
  }

  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
  TempFolder folder;
};

TEST_F(ExportTest, CsvRowsCarryEverySeriesAndTheLineFlags) {
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(836), SampleWord(836, 2), SampleWord(836, 1),
                                                SampleWord(836, 3)})};
  EXPECT_EQ(std::string(kCsvHeader) +
                "0,836,4.08203,101.267,4.79904,0,0,,\n"
                "0.1,836,4.08203,101.267,4.79904,0,0,Line A,\n"
                "0.2,836,4.08203,101.267,4.79904,0,0,,Line B\n"
                "0.3,836,4.08203,101.267,4.79904,0,0,Line A,Line B\n",
            Csv(0));

  link.settings.adcOffset = 3;  // the record in effect governs the conversions
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(833)})};
  EXPECT_EQ(std::string(kCsvHeader) + "0,833,4.08203,101.267,4.79904,0,0,,\n", Csv(0));
}

TEST_F(ExportTest, XmlHoldsTheCommentWhenTheSetHasAnEntry) {
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(836), SampleWord(836)})};
  const std::string samples =
      "\t\t<data format=\"MSL\">\n\t\t\t<MSL t=\"0\" z=\"4.79904\" />\n\t\t\t<MSL t=\"0.1\" z=\"4.79904\" />\n";
  const struct {
    std::vector<std::string> comments;
    const char* element;
  } cases[] = {
      {{"A<B&\"C\""}, "\t\t<comments>\n\t\t\tA&lt;B&amp;&quot;C&quot;\n\t\t</comments>\n"},
      {{""}, "\t\t<comments>\n\t\t\t\n\t\t</comments>\n"},
      {{}, ""},
  };
  for (const auto& c : cases) {
    link.comments = c.comments;
    EXPECT_EQ(kXmlHead + std::string(c.element) + samples + kXmlTail, Xml(0));
  }
}

// A pasted comment can carry any byte. Each combination of set and comment
// below is exported, and python3's XML parser must take every file.
TEST_F(ExportTest, AnXmlParserTakesTheExportOfAnyComment) {
  if (!HavePython3()) GTEST_SKIP() << "no python3 to parse the exports";
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte) everyByte += static_cast<char>(byte);
  const std::vector<std::vector<std::string>> commentLists = {
      {everyByte, std::string("\0", 1)},
      {"\x1B[1mbold\x1B[0m\f\v\b", "tab\tline\r\nend\x7F"},
      {"A<B&\"C\" ]]> 'x'", ""},
      {},
  };
  const std::vector<DataPacket> flight = ModelledFlight(20 * kWordsPerPacket).packets;
  link.packets = flight;
  link.packets.push_back(MakePacket(kStartPacketKind, {}));
  std::vector<std::filesystem::path> exports;
  for (const std::vector<std::string>& comments : commentLists) {
    link.comments = comments;
    for (int set = 0; set < 3; ++set) {
      exports.push_back(folder.Path("export-" + std::to_string(exports.size()) + ".xml"));
      ASSERT_TRUE(link.ExportXml(exports.back().wstring(), set));
    }
  }
  EXPECT_TRUE(XmlParserTakes(exports));
}

TEST_F(ExportTest, AnEmptySetGivesTheFrameAlone) {
  link.packets = {MakePacket(kStartPacketKind, {}), MakePacket(kStartPacketKind, {SampleWord(800)})};
  link.comments = {"a"};
  EXPECT_EQ(kCsvHeader, Csv(0));
  EXPECT_EQ(kCsvHeader, Csv(7)) << "no set 7";
  EXPECT_EQ(std::string(kXmlHead) + "\t\t<data format=\"MSL\">\n" + kXmlTail, Xml(7));
  const auto lock = link.LockData();
  EXPECT_EQ(7, link.currentSet.setNumber);
}

TEST_F(ExportTest, FailuresLeaveWhatWasThere) {
  link.packets = {MakePacket(kStartPacketKind, {SampleWord(836)})};
  WriteFileBytes(folder.Path("old.csv"), "old");
  WriteFileBytes(folder.Path("plain"), "not a folder");
  std::filesystem::create_directory(folder.Path("folder.csv"));
  const std::string listing = folder.Listing();
  link.currentSet.setNumber = 9;
  const struct {
    const char* what;
    std::filesystem::path target;
    int set;
  } cases[] = {
      {"set -1", folder.Path("old.csv"), -1},
      {"inside a plain file", folder.Path("plain") / "x.csv", 0},
      {"over a folder", folder.Path("folder.csv"), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(link.ExportCsv(c.target.wstring(), c.set));
    EXPECT_FALSE(link.ExportXml(c.target.wstring(), c.set));
    EXPECT_EQ(listing, folder.Listing());
    EXPECT_EQ("old", ReadFileBytes(folder.Path("old.csv")));
    if (c.set == -1) {
      EXPECT_EQ(9, link.currentSet.setNumber) << "nothing rebuilt";
    }
  }
}

// Set `set` of `link`, saved and loaded into another link, exports the same
// bytes, and keeps its settings record and comment.
void ExpectSavedAndLoadedExportsTheSame(AltimeterLink& link, int set, const TempFolder& folder) {
  ASSERT_TRUE(link.ExportCsv(folder.WidePath("before.csv"), set));
  ASSERT_TRUE(link.ExportXml(folder.WidePath("before.xml"), set));
  ASSERT_TRUE(link.SaveDataSet(folder.WidePath("flight.zel"), set));
  NoDeviceBackend otherBackend;
  AltimeterLink other(otherBackend);
  ASSERT_TRUE(other.LoadDataSet(folder.WidePath("flight.zel")));
  ASSERT_TRUE(other.ExportCsv(folder.WidePath("after.csv"), 0));
  ASSERT_TRUE(other.ExportXml(folder.WidePath("after.xml"), 0));
  EXPECT_EQ(ReadFileBytes(folder.Path("before.csv")), ReadFileBytes(folder.Path("after.csv")));
  EXPECT_EQ(ReadFileBytes(folder.Path("before.xml")), ReadFileBytes(folder.Path("after.xml")));
  if (HavePython3()) {
    EXPECT_TRUE(XmlParserTakes({folder.Path("after.xml")}));
  }
  EXPECT_EQ(link.settings.image, other.settings.image);
  EXPECT_EQ(std::vector<std::string>{link.comments.at(set)}, other.comments);
}

TEST_F(ExportTest, AFullMemorySavedAndLoadedExportsTheSameBytes) {
  const std::vector<DataPacket> flight = ModelledFlight(128 * kWordsPerPacket).packets;
  link.packets = PacketsOfKinds("Sc");
  link.packets.insert(link.packets.end(), flight.begin(), flight.end());
  link.comments = {"other", "caf\xE9 <full> & \"memory\"\n"};
  link.settings.adcOffset = -4;
  link.settings.lineAMode = LineMode::Time;
  link.settings.Build();
  ExpectSavedAndLoadedExportsTheSame(link, 1, folder);
  const std::string csv = ReadFileBytes(folder.Path("after.csv"));
  EXPECT_NE(std::string::npos, csv.find("\n396.7,")) << "the last of 3968 samples";
  EXPECT_NE(std::string::npos, csv.find(",Line A,\n"));
  EXPECT_NE(std::string::npos, csv.find(",,Line B\n"));
}

using DownloadedFlightTest = SimAltimeterTest;

TEST_F(DownloadedFlightTest, SavedAndLoadedExportsTheSameBytes) {
  DeviceSettings flown;
  flown.adcOffset = -3;
  flown.lineBValue = 120;
  flown.Build();
  altimeter->SetSettingsImage(flown.image);
  altimeter->LoadMemory(PresetMemory(MemoryPreset::Full));
  ASSERT_EQ(0, link.ReadSettings());
  ASSERT_TRUE(link.settings.Parse());
  ASSERT_EQ(0, link.ReadData(nullptr, nullptr));
  const int32_t sets = link.CountSets();
  ASSERT_EQ(5, sets);
  {
    const auto lock = link.LockData();
    for (int32_t n = 0; n < sets; ++n) link.comments[n] = "flight " + std::to_string(n) + " <sim>";
  }
  const TempFolder folder;
  for (int32_t n = 0; n < sets; ++n) {
    SCOPED_TRACE(n);
    ExpectSavedAndLoadedExportsTheSame(link, n, folder);
  }
}

TEST(XmlEscape, EscapesMarkupEveryByteAbove127AndTheControlsXmlCannotHold) {
  const struct {
    std::string text;
    std::string escaped;
  } cases[] = {
      {"A<B&\"C\"", "A&lt;B&amp;&quot;C&quot;"},
      {"caf\xE9 > it's\r\n", "caf&#233; &gt; it's\r\n"},
      {"\x80\xFF", "&#128;&#255;"},
      {std::string("a\0b", 3), "a&#65533;b"},
      {"\x01\x08\x0B\x0C\x1B\x1F", "&#65533;&#65533;&#65533;&#65533;&#65533;&#65533;"},
      {"\t\n\r\x20\x7F", "\t\n\r\x20\x7F"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.escaped, EscapeXml(c.text));
}

TEST(NumberTextInExports, LargeAndSmallValuesTakeThreeExponentDigits) {
  DataSet set;
  set.adc = {1, 2};
  set.voltage = set.pressure = set.altitudeAgl = {0.00002, 0.5};
  set.altitudeMsl = {1234567, -0.00002};
  set.smoothedVelocity = {1e6 / 3.6, 0};
  set.lineFlags = {0, 0};
  std::ostringstream csv;
  ASSERT_TRUE(WriteCsv(csv, set));
  EXPECT_NE(std::string::npos, csv.str().find("\n0,1,2e-005,2e-005,1.23457e+006,2e-005,1e+006,,\n")) << csv.str();
  std::ostringstream xml;
  ASSERT_TRUE(WriteXml(xml, set, nullptr));
  EXPECT_NE(std::string::npos, xml.str().find("<MSL t=\"0\" z=\"1.23457e+006\" />\n"));
  EXPECT_NE(std::string::npos, xml.str().find("<MSL t=\"0.1\" z=\"-2e-005\" />\n"));
}

}  // namespace
