// zeltool stats: a block per flight, a CSV logbook over many files and a
// JSON array, in metres or feet; damaged files and missing sets each cost one
// line on standard error while the other flights are still listed.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "data/DataSetFile.h"
#include "data/FlightStatRows.h"
#include "data/FlightStats.h"
#include "data/Python3Check.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/ZeltoolRun.h"

namespace {

const char kPastedComment[] = "Field B, \"windy\"\r\nsecond line, caf\xE9";

class StatsCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    high.thrustN = 32.0;
    high.burnTimeS = 1.8;
    high.descentRateMs = 18.0;
    high.mainDescentRateMs = 9.0;
    high.rules.lineBValue = 200;
    club.rules.lineBValue = 100;
  }

  // A file of one recorded flight; returns its path as a command-line word.
  std::wstring WriteFlight(const std::string& name, const FlightParameters& flight, const std::string& comment) {
    DataSetFileContent content;
    content.packets = RecordFlight(flight).packets;
    content.comment = comment;
    return WriteFile(name, content);
  }

  std::wstring WriteFile(const std::string& name, const DataSetFileContent& content) {
    std::ostringstream bytes;
    EXPECT_TRUE(WriteDataSetFile(bytes, content));
    WriteFileBytes(folder.Path(name), bytes.str());
    return folder.WidePath(name);
  }

  // What the statistics of `file`'s set `set` (from 0) are, as the program reads the file.
  FlightStats StatsOf(const std::wstring& file, int set) {
    EXPECT_TRUE(link.LoadDataSet(file));
    EXPECT_TRUE(link.ComputeDataSet(set));
    return ComputeFlightStats(link.currentSet);
  }

  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
  TempFolder folder;
  FlightParameters club;
  FlightParameters high;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(StatsCommandTest, TextIsABlockOfRowsPerFlight) {
  const std::wstring file = WriteFlight("club.zel", club, "Club launch, field A");
  const Outcome stats = RunZeltoolCommand({L"stats", file});
  ASSERT_EQ(0, stats.status) << stats.err;
  EXPECT_EQ("", stats.err);
  const std::vector<std::string> lines = Lines(stats.out);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(folder.Path("club.zel").string() + ", set 0", lines[0]);
  EXPECT_EQ("  comment        Club launch, field A", lines[1]);
  const std::vector<StatRow> rows = FlightStatRows(StatsOf(file, 0), UnitSystem::Metric);
  ASSERT_EQ(2 + rows.size(), lines.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string& line = lines[2 + i];
    EXPECT_EQ(0u, line.find("  " + rows[i].label + ' ')) << line;
    EXPECT_NE(std::string::npos, line.find(' ' + rows[i].value)) << line;
    EXPECT_EQ(line.size() - rows[i].detail.size(), line.rfind(rows[i].detail)) << line;
  }
}

// The logbook of a folder as a shell lists it: the good files' flights in one
// table under one header, each bad file named once on standard error.
TEST_F(StatsCommandTest, ACsvLogbookOverAFolderOfGoodAndDamagedFiles) {
  DataSetFileContent content;
  content.packets = RecordFlight(club).packets;
  content.comment = "Club launch, field A";
  WriteFile("1-club.zel", content);
  const std::string good = ReadFileBytes(folder.Path("1-club.zel"));
  const std::vector<DataPacket> second = RecordFlight(high).packets;
  DataSetFileContent twoSets = content;
  twoSets.packets.insert(twoSets.packets.end(), second.begin(), second.end());
  twoSets.comment = kPastedComment;
  WriteFile("2-two-sets.zel", twoSets);
  WriteFileBytes(folder.Path("3-cut-short.zel"), good.substr(0, good.size() / 2));
  WriteFileBytes(folder.Path("4-not-a-flight.zel"), "Time, ADC\n");
  std::string badChecksum = good;
  badChecksum[26 + 64 * content.packets.size() + 2] ^= 0x01;  // a settings byte its checksum no longer covers
  WriteFileBytes(folder.Path("5-bad-checksum.zel"), badChecksum);
  WriteFileBytes(folder.Path("6-empty.zel"), "");
  WriteFlight("7-high.zel", high, "");

  std::vector<std::wstring> args{L"stats", L"--format", L"csv"};
  for (const char* name : {"1-club.zel", "2-two-sets.zel", "3-cut-short.zel", "4-not-a-flight.zel",
                           "5-bad-checksum.zel", "6-empty.zel", "7-high.zel", "8-missing.zel"}) {
    args.push_back(folder.WidePath(name));
  }
  const Outcome logbook = RunZeltoolCommand(args);
  EXPECT_EQ(1, logbook.status);
  const std::vector<std::string> errors = Lines(logbook.err);
  ASSERT_EQ(5u, errors.size()) << logbook.err;
  for (const char* bad : {"3-cut-short.zel is damaged", "4-not-a-flight.zel is not a data set file",
                          "5-bad-checksum.zel", "6-empty.zel", "8-missing.zel cannot be opened"}) {
    EXPECT_EQ(1, std::count_if(errors.begin(), errors.end(),
                               [&](const std::string& line) { return line.find(bad) != std::string::npos; }))
        << bad;
  }
  const std::vector<std::string> rows = Lines(logbook.out);
  EXPECT_EQ(0u, rows[0].find("file,set,comment,samples,duration (s),launch (s),launch error (s),burn-out (s),"));
  EXPECT_EQ(rows[0].size() - 6, rows[0].find(",notes")) << "the notes last";
  EXPECT_EQ(0u, rows[1].find(folder.Path("1-club.zel").string() + ",0,\"Club launch, field A\",")) << rows[1];
  EXPECT_NE(std::string::npos, logbook.out.find(",1,,")) << "the second set of a file has no comment of its own";
  EXPECT_NE(std::string::npos, logbook.out.find("7-high.zel,0,,"));

  if (!HavePython3()) GTEST_SKIP() << "no python3 to read the logbook as a spreadsheet would";
  WriteFileBytes(folder.Path("logbook.csv"), logbook.out);
  EXPECT_TRUE(
      Python3Succeeds("import csv, os, sys\n"
                      "rows = list(csv.reader(open(sys.argv[1], newline='', encoding='latin-1')))\n"
                      "assert len(rows) == 5 and all(len(row) == len(rows[0]) for row in rows), rows\n"
                      "assert [row[1] for row in rows[1:]] == ['0', '0', '1', '0'], rows\n"
                      "assert rows[2][2].encode('latin-1') == os.fsencode(sys.argv[2]), repr(rows[2][2])\n"
                      "apogee = rows[0].index('apogee (m)')\n"
                      "assert all(float(row[apogee]) > 250 for row in rows[1:])\n",
                      {folder.Path("logbook.csv").string(), std::string(kPastedComment)}))
      << "one table, every row as wide as the header, the comment's bytes back";
}

TEST_F(StatsCommandTest, JsonInFeetCarriesTheSameFlightsAsMetres) {
  const std::wstring file = WriteFlight("high.zel", high, kPastedComment);
  const Outcome metres = RunZeltoolCommand({L"stats", file, L"--format", L"json"});
  const Outcome feet = RunZeltoolCommand({L"stats", L"--units", L"ft", file, L"--format", L"json", L"--all"});
  ASSERT_EQ(0, metres.status) << metres.err;
  ASSERT_EQ(0, feet.status) << feet.err;
  ASSERT_EQ(1u, Lines(feet.out).size()) << "one line";
  const FlightStats stats = StatsOf(file, 0);
  std::ostringstream apogee;
  apogee << "\"apogeeFt\": " << QuantityText(*stats.apogee, Quantity::Altitude, UnitSystem::Imperial) << ", ";
  EXPECT_NE(std::string::npos, feet.out.find(apogee.str())) << feet.out;
  EXPECT_NE(std::string::npos, feet.out.find("\"topSpeedMph\": ")) << feet.out;
  EXPECT_NE(std::string::npos, metres.out.find("\"descentRateMs\": ")) << metres.out;

  if (!HavePython3()) GTEST_SKIP() << "no python3 to parse the JSON";
  WriteFileBytes(folder.Path("m.json"), metres.out);
  WriteFileBytes(folder.Path("ft.json"), feet.out);
  EXPECT_TRUE(Python3Succeeds(
      "import json, sys\n"
      "[m] = json.load(open(sys.argv[1]))\n"
      "[ft] = json.load(open(sys.argv[2]))\n"
      "assert m['set'] == 0 and m['comment'].startswith('Field B, \"windy\"\\r\\nsecond'), m['comment']\n"
      "assert abs(ft['apogeeFt'] * 0.3048 - m['apogeeM']) < 0.05 + 0.1 * 0.3048\n"
      "assert abs(ft['topSpeedFts'] * 0.3048 - m['topSpeedMs']) < 0.05 + 0.1 * 0.3048\n"
      "assert abs(ft['descentRateFts'] * 0.3048 - m['descentRateMs']) < 0.005 + 0.01 * 0.3048\n"
      "assert ft['launchS'] == m['launchS'] and ft['accelerationG'] == m['accelerationG']\n"
      "assert m['finalDescentRateMs'] is not None and m['lineBS'] > m['lineAS']\n"
      "assert 0 < m['apogeeErrorM'] < 5 and 0 < m['launchErrorS'] < 0.2 and m['apogeeAtLeast'] is False\n"
      "assert m['notes'] == [] and ft['notes'] == []\n",
      {folder.Path("m.json").string(), folder.Path("ft.json").string()}));
}

TEST_F(StatsCommandTest, SetsAndOptionsAreCheckedBeforeAnythingIsListed) {
  const std::wstring file = WriteFlight("club.zel", club, "");
  const struct {
    std::vector<std::wstring> args;
    int status;
    const char* says;
  } cases[] = {
      {{L"stats", file, L"--set", L"1"}, 1, "club.zel has no set 1 (it holds 1 set)\n"},
      {{L"stats"}, 2, "usage: zeltool stats FILE.zel... [--set N | --all]"},
      {{L"stats", file, L"--set", L"-1"}, 2, "usage: zeltool stats"},
      {{L"stats", file, L"--set", L"0", L"--all"}, 2, "usage: zeltool stats"},
      {{L"stats", file, L"--set", L"0", L"--set", L"0"}, 2, "usage: zeltool stats"},
      {{L"stats", file, L"--units", L"km"}, 2, "usage: zeltool stats"},
      {{L"stats", file, L"--format", L"xml"}, 2, "usage: zeltool stats"},
      {{L"stats", file, L"--format"}, 2, "usage: zeltool stats"},
      {{L"stats", file, L"--sets", L"1"}, 2, "usage: zeltool stats"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    ExpectOneLineRefusal(RunZeltoolCommand(c.args), c.status, c.says);
  }
  const Outcome picked = RunZeltoolCommand({L"stats", file, L"--set", L"0", file});
  EXPECT_EQ(0, picked.status) << picked.err;
  const std::vector<std::string> lines = Lines(picked.out);
  EXPECT_EQ(2, std::count(lines.begin(), lines.end(), folder.Path("club.zel").string() + ", set 0"))
      << "a file named twice is listed twice";
}

}  // namespace
