#include "tools/zeltool/Zeltool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "data/FlightFixtures.h"
#include "base/NumberText.h"
#include "data/PacketFixtures.h"
#include "data/Python3Check.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/ZeltoolRun.h"
#include "tools/zeltool/ArgText.h"

namespace {

class ZeltoolTest : public testing::Test {
 protected:
  void SetUp() override {
    link.packets = flight.packets;
    const std::vector<DataPacket> second = PacketsOfKinds("Sc");
    link.packets.insert(link.packets.end(), second.begin(), second.end());
    link.comments = {"windy <day>", "second"};
    ASSERT_TRUE(link.SaveDataSet(folder.WidePath("flight.zel"), 0));
    link.packets.insert(link.packets.begin(), second.begin(), second.end());
    link.comments = {"first", "windy <day>"};
  }

  Outcome Run(const std::vector<std::wstring>& args) { return RunZeltoolCommand(args); }

  std::wstring Wide(const std::string& name) const { return folder.WidePath(name); }

  const RecordedFlight flight = ModelledFlight(128 * kWordsPerPacket);
  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};  // its packets hold the saved set as set 1
  TempFolder folder;
};

TEST_F(ZeltoolTest, InfoSummarisesEachSet) {
  const Outcome info = Run({L"info", Wide("flight.zel")});
  EXPECT_EQ(0, info.status) << info.err;
  EXPECT_EQ("", info.err);
  ASSERT_TRUE(link.ComputeDataSet(1));
  const DataSet& set = link.currentSet;
  const int32_t apogee = set.IndexOfMaximum(set.altitudeAgl);
  const int32_t topSpeed = set.IndexOfMaximum(set.velocity);
  const auto fired = [](int sample) {
    std::ostringstream text;
    text.imbue(NumberTextLocale());
    if (sample < 0) return std::string(" never fired\n");
    text << " first fired at " << sample / 10.0 << " s\n";
    return text.str();
  };
  std::ostringstream expected;
  expected.imbue(NumberTextLocale());
  expected << folder.Path("flight.zel").u8string() << ": 1 set\n"
           << "set 0: " << flight.words.size() << " samples, " << flight.words.size() / 10.0 << " s\n"
           << "  apogee " << set.altitudeAgl[apogee] << " m above the first sample at " << apogee / 10.0 << " s\n"
           << "  top speed " << set.velocity[topSpeed] << " m/s at " << topSpeed / 10.0 << " s\n"
           << "  Line A" << fired(flight.lineASample) << "  Line B" << fired(flight.lineBSample)
           << "  comment: windy <day>\n";
  EXPECT_EQ(expected.str(), info.out);
  EXPECT_NEAR(flight.apogeeTimeS, apogee / 10.0, 2.0);
  EXPECT_GE(flight.lineBSample, 0) << "a flight that fires both lines";
}

TEST_F(ZeltoolTest, ExportsAreTheProgramsBytes) {
  const struct {
    const wchar_t* command;
    const char* ours;
    bool (AltimeterLink::*programs)(const std::filesystem::path&, int);
  } cases[] = {
      {L"csv", "tool.csv", &AltimeterLink::ExportCsv},
      {L"xml", "tool.xml", &AltimeterLink::ExportXml},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE((link.*c.programs)(Wide("program"), 1));
    const Outcome exported = Run({c.command, Wide("flight.zel"), Wide(c.ours)});
    EXPECT_EQ(0, exported.status) << exported.err;
    EXPECT_EQ(ReadFileBytes(folder.Path("program")), ReadFileBytes(folder.Path(c.ours)));
    const Outcome withSet = Run({c.command, Wide("flight.zel"), Wide("set0"), L"--set", L"0"});
    EXPECT_EQ(0, withSet.status) << withSet.err;
    EXPECT_EQ(ReadFileBytes(folder.Path("program")), ReadFileBytes(folder.Path("set0")));
  }
}

TEST_F(ZeltoolTest, XmlOfAPastedCommentIsTakenByAnXmlParser) {
  if (!HavePython3()) GTEST_SKIP() << "no python3 to parse the export";
  link.comments = {"first", "pasted\x1B[0m \x0C\x01<end>"};
  ASSERT_TRUE(link.SaveDataSet(Wide("pasted.zel"), 1));
  const Outcome exported = Run({L"xml", Wide("pasted.zel"), Wide("pasted.xml")});
  ASSERT_EQ(0, exported.status) << exported.err;
  EXPECT_TRUE(XmlParserTakes({folder.Path("pasted.xml")}));
  EXPECT_NE(std::string::npos,
            ReadFileBytes(folder.Path("pasted.xml")).find("pasted&#65533;[0m &#65533;&#65533;&lt;end&gt;"));
}

// Where file names are bytes, a name need not be UTF-8: each command reads
// and writes the file its bytes name, and says the name as the system has it.
TEST_F(ZeltoolTest, FileNamesOfAnyBytesAreOpenedAndWritten) {
#ifdef _WIN32
  GTEST_SKIP() << "Windows file names are wide text";
#endif
  const std::string folderBytes = folder.Path().string() + "/";
  const std::string latin1 = "caf\xE9";
  std::filesystem::rename(folder.Path("flight.zel"), folderBytes + latin1 + ".zel");
  const auto word = [&](const std::string& name) { return WideArg(folderBytes + name); };

  const Outcome info = Run({L"info", word(latin1 + ".zel")});
  EXPECT_EQ(0, info.status) << info.err;
  EXPECT_EQ(0u, info.out.find(folderBytes + latin1 + ".zel: 1 set\n")) << info.out;
  ASSERT_TRUE(link.ExportXml(Wide("program.xml"), 1));
  ASSERT_TRUE(link.ExportCsv(Wide("program.csv"), 1));
  for (const wchar_t* command : {L"csv", L"xml"}) {
    const std::string output = latin1 + "." + NarrowText(command);
    const Outcome exported = Run({command, word(latin1 + ".zel"), word(output)});
    EXPECT_EQ(0, exported.status) << exported.err;
    EXPECT_EQ(ReadFileBytes(folder.Path("program." + NarrowText(command))), ReadFileBytes(folderBytes + output));
  }
  WriteFileBytes(folder.Path("image.bin"), "image");
  EXPECT_EQ(0, Run({L"firmware-pack", Wide("image.bin"), word(latin1 + ".dat")}).status);
  const Outcome firmware = Run({L"firmware-info", word(latin1 + ".dat")});
  EXPECT_EQ(0u, firmware.out.find(folderBytes + latin1 + ".dat: firmware file")) << firmware.err;

  const Outcome missing = Run({L"info", word("\xFF.zel")});
  ExpectOneLineRefusal(missing, 1, folderBytes + "\xFF.zel cannot be opened for reading\n");
}

TEST_F(ZeltoolTest, BadFilesAndCommandLinesGiveOneLineAndAFailingStatus) {
  const std::string good = ReadFileBytes(folder.Path("flight.zel"));
  WriteFileBytes(folder.Path("short.zel"), good.substr(0, good.size() / 2));
  WriteFileBytes(folder.Path("text.zel"), "Time, ADC\n");
  const struct {
    std::vector<std::wstring> args;
    int status;
    const char* says;
  } cases[] = {
      {{L"info", Wide("missing.zel")}, 1, "missing.zel cannot be opened for reading\n"},
      {{L"info", Wide("text.zel")}, 1, "text.zel is not a data set file\n"},
      {{L"csv", Wide("short.zel"), Wide("out.csv")}, 1, "short.zel is damaged: it ends before the data it announces\n"},
      {{L"xml", Wide("flight.zel"), Wide("out.xml"), L"--set", L"1"}, 1, "flight.zel has no set 1 (it holds 1 set)\n"},
      {{L"csv", Wide("flight.zel"), Wide("plain") + L"/x.csv"}, 1, "x.csv cannot be written\n"},
      {{L"csv", Wide("flight.zel")}, 2, "usage: zeltool csv FILE.zel OUT.csv [--set N]\n"},
      {{L"csv", Wide("flight.zel"), Wide("out.csv"), L"--set", L"-1"}, 2, "usage: zeltool csv"},
      {{L"xml", Wide("flight.zel"), Wide("out.xml"), L"--sett", L"0"}, 2, "usage: zeltool xml"},
      {{L"info"}, 2, "usage: zeltool info FILE.zel\n"},
      {{L"firmware"}, 2, "unknown command 'firmware' (zeltool --help lists the commands)\n"},
  };
  WriteFileBytes(folder.Path("plain"), "not a folder");
  const std::string listing = folder.Listing();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    ExpectOneLineRefusal(Run(c.args), c.status, c.says);
    EXPECT_EQ(listing, folder.Listing()) << "nothing written";
  }
}

TEST_F(ZeltoolTest, HelpListsTheCommands) {
  for (const auto& args : {std::vector<std::wstring>{L"--help"}, std::vector<std::wstring>{}}) {
    const Outcome help = Run(args);
    EXPECT_EQ(args.empty() ? 2 : 0, help.status);
    for (const char* line : {"zeltool info FILE.zel\n", "zeltool csv FILE.zel OUT.csv [--set N]\n",
                             "zeltool xml FILE.zel OUT.xml [--set N]\n", "zeltool --help\n"}) {
      EXPECT_NE(std::string::npos, help.out.find(line)) << line;
    }
  }
}

}  // namespace
