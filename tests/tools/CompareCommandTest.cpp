// zeltool compare (native builds only): up to eight flights from their
// launches, each curve where the axes put its samples in its own colour, a
// legend a PDF reader can read; refused with one line and no file otherwise.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/FlightStats.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/PageChecks.h"
#include "tools/PngPicture.h"
#include "tools/ZeltoolRun.h"
#include "view/page/ComparisonPage.h"
#include "view/page/FlightCharts.h"

namespace {

constexpr std::time_t kMadeAt = 1714566180;

class CompareCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    FlightParameters club;
    FlightParameters high = club;
    high.thrustN = 32.0;
    high.burnTimeS = 1.8;
    high.descentRateMs = 9.0;
    high.seed = 11;
    std::vector<DataPacket> both = RecordFlight(club).packets;
    const std::vector<DataPacket> second = RecordFlight(high).packets;
    both.insert(both.end(), second.begin(), second.end());
    WriteFlight("club.zel", RecordFlight(club).packets, "Club launch, field A");
    WriteFlight("two.zel", both, "Two flights");
    // Samples on the pad only: no launch.
    WriteFlight("pad.zel", PacketsOfSet(std::vector<uint16_t>(300, MakeSampleWord(800, 0))), "On the pad");
  }

  void WriteFlight(const std::string& name, const std::vector<DataPacket>& packets, const std::string& comment) {
    WriteFlightFile(folder, name, packets, comment);
  }

  std::wstring Wide(const std::string& name) const { return folder.WidePath(name); }

  // Each flight's curve as the command draws it (for the chart's layout), and
  // its samples from its launch (its first sample without one) worked out
  // here from its data set.
  struct Flight {
    ComparedSeries series;
    std::vector<ChartPoint> samples;
  };
  std::vector<Flight> Flights(const std::vector<std::pair<std::string, int>>& files) {
    std::vector<Flight> flights;
    for (const auto& [file, set] : files) {
      EXPECT_TRUE(link.LoadDataSet(Wide(file)) && link.ComputeDataSet(set));
      const FlightStats stats = ComputeFlightStats(link.currentSet);
      const Rgb colour = ComparisonPalette()[flights.size()];
      Flight flight{CompareFlight(link.currentSet, stats, UnitSystem::Metric, colour), {}};
      const double launch = stats.launchS.value_or(0.0);
      const std::vector<double>& altitude = link.currentSet.altitudeAgl;
      for (size_t i = 0; i < altitude.size(); ++i) {
        if (i / 10.0 >= launch) flight.samples.push_back({i / 10.0 - launch, altitude[i] - stats.padLevel});
      }
      flights.push_back(flight);
    }
    return flights;
  }

  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
  TempFolder folder;
  const FixedPageTime now{kMadeAt};
};

TEST_F(CompareCommandTest, EachCurveLiesWhereTheAxesPutItsSamplesInItsColour) {
  const std::vector<std::pair<std::string, int>> flights{{"club.zel", 0}, {"two.zel", 1}, {"pad.zel", 0}};
  const Outcome made =
      RunZeltoolCommand({L"compare", Wide("compare.png"), Wide("club.zel"), Wide("two.zel") + L":1", Wide("pad.zel")});
  ASSERT_EQ(0, made.status) << made.err;
  EXPECT_EQ("", made.out + made.err);
  const Picture picture = ReadPng(folder.Path("compare.png"));
  ASSERT_EQ(1754, picture.width) << "A4 landscape at 150 dpi";
  ASSERT_EQ(1240, picture.height);

  const std::vector<Flight> read = Flights(flights);
  std::vector<ComparedSeries> series;
  for (const Flight& flight : read) series.push_back(flight.series);
  const ComparisonContent comparison{kMadeAt, ComparisonChart(series, UnitSystem::Metric),
                                     std::vector<ComparedFlight>(flights.size())};
  const ChartLayout layout = ComparisonChartLayout(comparison, PageTextMeasure());
  EXPECT_EQ(0.0, layout.time.low) << "from the launch";
  std::vector<PixelCurve> expected;
  for (const Flight& flight : read) {
    expected.push_back({{}, flight.series.curve.colour});
    for (const ChartPoint& sample : flight.samples) {
      if (sample.x > layout.time.high) break;  // cut at the axis' end
      expected.back().samples.push_back(PngPixel(layout, sample.x, sample.y, ChartSide::Left));
    }
  }
  const std::vector<CurveCheck> checks = CheckCurves(picture, expected);
  for (size_t k = 0; k < checks.size(); ++k) {
    SCOPED_TRACE(flights[k].first);
    EXPECT_LT(checks[k].covered, 0.25) << "most of the curve in view";
    EXPECT_GT(checks[k].drawn, 0.99);
  }
}

TEST_F(CompareCommandTest, TheLegendNamesEachFlightWithItsCommentAndApogee) {
  const Outcome made =
      RunZeltoolCommand({L"compare", Wide("compare.pdf"), Wide("club.zel"), L"--units", L"ft", Wide("two.zel:1"),
                         Wide("pad.zel")});
  ASSERT_EQ(0, made.status) << made.err;
  EXPECT_NE(std::string::npos, ReadFileBytes(folder.Path("compare.pdf")).find("/MediaBox [ 0 0 842 595 ]"));
  if (!HavePdfToText()) GTEST_SKIP() << "no pdftotext (Debian package poppler-utils) to read the PDF's text";
  const std::string text = PdfTextLines(folder.Path("compare.pdf"));
  EXPECT_NE(std::string::npos, text.find("Flights compared " + now.MadeLine() + "\n")) << text;
  EXPECT_NE(std::string::npos, text.find("altitude above the launch site (ft)")) << text;
  const struct {
    std::string file;
    int set;
    std::string rest;  // after the apogee, flight time and top speed
  } legend[] = {
      {"club.zel", 0, " Club launch, field A\n"},
      {"two.zel", 1, "\n"},  // the file's one comment is its first set's
      {"pad.zel", 0, " On the pad (no launch found: from its first sample)\n"},
  };
  for (const auto& entry : legend) {
    ASSERT_TRUE(link.LoadDataSet(Wide(entry.file)) && link.ComputeDataSet(entry.set));
    const FlightStats stats = ComputeFlightStats(link.currentSet);
    std::string line = entry.file + ", set " + std::to_string(entry.set);
    line += ' ' + ApogeeText(stats, UnitSystem::Imperial);
    for (const std::string& more : {FlightTimeText(stats), TopSpeedText(stats, UnitSystem::Imperial)}) {
      EXPECT_EQ(stats.launchS.has_value(), !more.empty()) << "none without a flight";
      line += more.empty() ? "" : ' ' + more;
    }
    line += entry.rest;
    EXPECT_NE(std::string::npos, text.find(line)) << line << "in\n" << text;
  }
}

// A whole memory of samples on the pad (400 s, no launch) beside a flight:
// the time axis ends a little after the flight's landing, and the long one
// is cut there, with a mark at the edge that says so.
TEST_F(CompareCommandTest, ALongRecordingIsCutAfterTheLastLanding) {
  WriteFlight("long.zel", PacketsOfSet(std::vector<uint16_t>(4000, MakeSampleWord(800, 0))), "Whole memory");
  const Outcome made = RunZeltoolCommand({L"compare", Wide("long.png"), Wide("club.zel"), Wide("long.zel")});
  ASSERT_EQ(0, made.status) << made.err;
  const std::vector<Flight> read = Flights({{"club.zel", 0}, {"long.zel", 0}});
  ASSERT_TRUE(link.LoadDataSet(Wide("club.zel")) && link.ComputeDataSet(0));
  const FlightStats club = ComputeFlightStats(link.currentSet);
  ASSERT_TRUE(club.landingS && club.launchS);
  const double landing = *club.landingS - *club.launchS;

  const ChartLayout layout =
      ComparisonChartLayout({kMadeAt, ComparisonChart({read[0].series, read[1].series}, UnitSystem::Metric), {{}, {}}},
                            PageTextMeasure());
  EXPECT_GT(layout.time.high, landing);
  EXPECT_LT(layout.time.high, landing * 1.25) << "not 400 s";
  ASSERT_EQ(2u, layout.labels.size()) << "the club's apogee, and the cut";
  const ChartLabel& cut = layout.labels.back();
  EXPECT_EQ(MarkShape::Cut, cut.shape);
  EXPECT_EQ("cut: recorded to 399.9 s", cut.text);
  const Picture picture = ReadPng(folder.Path("long.png"));
  const PixelPoint edge = PngPixel(layout, layout.time.high, 0.0, ChartSide::Left);
  EXPECT_GT(picture.Count(PixelOf(ComparisonPalette()[1]), edge.x - 12, edge.y - 6, edge.x, edge.y + 6), 20u)
      << "the arrowhead";
}

TEST_F(CompareCommandTest, EightFlightsEachGetTheirOwnColour) {
  std::vector<std::wstring> args{L"compare", Wide("eight.png")};
  for (int i = 0; i < 8; ++i) args.push_back(Wide(i % 2 ? "two.zel:1" : "club.zel"));
  const Outcome made = RunZeltoolCommand(args);
  ASSERT_EQ(0, made.status) << made.err;
  const Picture picture = ReadPng(folder.Path("eight.png"));
  for (const Rgb& colour : ComparisonPalette()) {
    EXPECT_GT(picture.Count(PixelOf(colour)), 200u) << "a legend swatch of 24 x 3 points at least";
  }
}

TEST_F(CompareCommandTest, RefusalsGiveOneLineAndWriteNothing) {
  const std::string good = ReadFileBytes(folder.Path("club.zel"));
  WriteFileBytes(folder.Path("short.zel"), good.substr(0, good.size() / 2));
  WriteFileBytes(folder.Path("plain"), "not a folder");
  std::vector<std::wstring> nine{L"compare", Wide("out.png")};
  for (int i = 0; i < 9; ++i) nine.push_back(Wide("club.zel"));
  const struct {
    std::vector<std::wstring> args;
    int status;
    const char* says;
  } cases[] = {
      {nine, 2, "compare takes at most 8 flights (9 given)\n"},
      {{L"compare", Wide("out.png"), Wide("club.zel"), Wide("two.zel:2")}, 1,
       "two.zel has no set 2 (it holds 2 sets)\n"},
      {{L"compare", Wide("out.png"), Wide("missing.zel")}, 1, "missing.zel cannot be opened for reading\n"},
      {{L"compare", Wide("out.png"), Wide("club.zel"), Wide("short.zel:0")}, 1, "short.zel is damaged"},
      {{L"compare", Wide("plain") + L"/out.pdf", Wide("club.zel")}, 1, "out.pdf cannot be written\n"},
      {{L"compare", Wide("out.png")}, 2, "usage: zeltool compare OUT.pdf|OUT.png|OUT.svg FLIGHT... [--units m|ft]\n"},
      {{L"compare", Wide("club.zel"), Wide("out.png")}, 2, "usage: zeltool compare"},
      {{L"compare", Wide("out.png"), Wide("club.zel"), L"--units"}, 2, "usage: zeltool compare"},
      {{L"compare", Wide("out.png"), Wide("club.zel"), L"--set", L"1"}, 2, "usage: zeltool compare"},
  };
  const std::string listing = folder.Listing();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    ExpectOneLineRefusal(RunZeltoolCommand(c.args), c.status, c.says);
    EXPECT_EQ(listing, folder.Listing()) << "nothing written";
  }
}

}  // namespace
