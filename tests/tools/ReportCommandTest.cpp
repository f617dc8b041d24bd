// zeltool report (native builds only): a page whose PDF holds the flight's
// statistics as text, whose curves lie where its axes put each sample, on
// the paper asked for; refused with one line and no file when it cannot be made.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/FlightStatRows.h"
#include "data/FlightStats.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/PageChecks.h"
#include "tools/PngPicture.h"
#include "tools/ZeltoolRun.h"
#include "tools/zeltool/FileFlight.h"
#include "view/page/LabelPlacement.h"
#include "view/page/FlightCharts.h"
#include "view/page/ReportPage.h"

namespace {

const char kComment[] = "Club launch, field A";
constexpr std::time_t kMadeAt = 1714566180;  // 2024-05-01 12:23 UTC

class ReportCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    FlightParameters flight;
    flight.thrustN = 32.0;
    flight.burnTimeS = 1.8;
    flight.descentRateMs = 9.0;
    flight.rules.lineBValue = 150;
    WriteFlight("flight.zel", RecordFlight(flight).packets);
    ASSERT_TRUE(link.LoadDataSet(Wide("flight.zel")));
    ASSERT_TRUE(link.ComputeDataSet(0));
    stats = ComputeFlightStats(link.currentSet);
    ASSERT_TRUE(stats.apogee && stats.launchS && stats.lineA && stats.lineB) << "a whole flight";
  }

  void WriteFlight(const std::string& name, const std::vector<DataPacket>& packets,
                   const std::string& comment = kComment) {
    WriteFlightFile(folder, name, packets, comment);
  }

  std::wstring Wide(const std::string& name) const { return folder.WidePath(name); }

  // The report the command makes of the flight, as the chart's layout needs it.
  ReportContent Report(UnitSystem units) const {
    return {"flight.zel, set 0", kComment, kMadeAt, FlightChart(link.currentSet, stats, units),
            PageStatRows(stats, units)};
  }

  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
  TempFolder folder;
  FlightStats stats;
  const FixedPageTime now{kMadeAt};
};

bool HasLine(const std::string& text, const std::string& line) {
  return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST_F(ReportCommandTest, ThePdfHoldsTheStatisticsAsTextOnThePaperAskedFor) {
  const struct {
    std::vector<std::wstring> options;
    UnitSystem units;
    const char* mediaBox;
  } cases[] = {
      {{}, UnitSystem::Metric, "/MediaBox [ 0 0 595 842 ]"},
      {{L"--units", L"ft", L"--paper", L"letter"}, UnitSystem::Imperial, "/MediaBox [ 0 0 612 792 ]"},
      {{L"--paper", L"a4", L"--set", L"0", L"--units", L"m"}, UnitSystem::Metric, "/MediaBox [ 0 0 595 842 ]"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mediaBox);
    std::vector<std::wstring> args{L"report", Wide("flight.zel"), Wide("report.PDF")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome made = RunZeltoolCommand(args);
    ASSERT_EQ(0, made.status) << made.err;
    EXPECT_EQ("", made.out + made.err);
    const std::string pdf = ReadFileBytes(folder.Path("report.PDF"));
    EXPECT_EQ(0u, pdf.find("%PDF-")) << pdf.substr(0, 16);
    EXPECT_NE(std::string::npos, pdf.find(c.mediaBox));
    EXPECT_NE(std::string::npos, pdf.find("/FontFile2")) << "the fonts travel in the file";

    if (!HavePdfToText()) continue;
    const std::string text = PdfTextLines(folder.Path("report.PDF"));
    EXPECT_NE(std::string::npos, text.find("Flight report " + now.MadeLine() + "\n")) << text;
    EXPECT_TRUE(HasLine(text, "flight.zel, set 0")) << text;
    EXPECT_TRUE(HasLine(text, kComment)) << text;
    const std::string apogee = ApogeeText(stats, c.units);
    EXPECT_NE(text.find(apogee), text.rfind(apogee)) << "the chart's label, and the table's row";
    const std::vector<StatRow> rows = PageStatRows(stats, c.units);
    ASSERT_GE(rows.size(), 12u);
    for (const char* plain : {"^2", "+/-"}) EXPECT_EQ(std::string::npos, text.find(plain)) << plain;
    EXPECT_NE(std::string::npos, text.find("/s\u00B2 ")) << "squared";
    EXPECT_NE(std::string::npos, text.find(" \u00B1")) << "plus or minus";
    for (const StatRow& row : rows) {
      const std::string line = row.label + ' ' + row.value + (row.detail.empty() ? "" : ' ' + row.detail);
      EXPECT_TRUE(HasLine(text, line)) << line << "\nin\n" << text;
    }
  }
  if (!HavePdfToText()) GTEST_SKIP() << "no pdftotext (Debian package poppler-utils) to read the PDF's text";
}

TEST_F(ReportCommandTest, CurvesLieWhereTheAxesPutEverySample) {
  const struct {
    const wchar_t* paper;
    PageSize page;
    UnitSystem units;
  } cases[] = {{L"a4", kA4Page, UnitSystem::Metric}, {L"letter", kLetterPage, UnitSystem::Imperial}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.page.width);
    const bool feet = c.units == UnitSystem::Imperial;
    const Outcome made = RunZeltoolCommand(
        {L"report", Wide("flight.zel"), Wide("report.png"), L"--paper", c.paper, L"--units", feet ? L"ft" : L"m"});
    ASSERT_EQ(0, made.status) << made.err;
    const Picture picture = ReadPng(folder.Path("report.png"));
    const PixelSize size = PngSize(c.page);
    ASSERT_EQ(size.width, picture.width);
    ASSERT_EQ(size.height, picture.height);
    EXPECT_EQ(static_cast<int>(c.page.width * 150 / 72 + 0.5), picture.width) << "150 dpi";

    // The samples in the units shown, worked out here, not by the chart,
    // mapped by the chart's layout; the velocity is drawn first.
    const ChartLayout layout = ReportChartLayout(Report(c.units), c.page, PageTextMeasure());
    const double perMetre = feet ? 1.0 / 0.3048 : 1.0;
    PixelCurve velocity{{}, kVelocityColour}, altitude{{}, kAltitudeColour};
    const DataSet& set = link.currentSet;
    for (size_t i = 0; i < set.altitudeAgl.size(); ++i) {
      const double height = (set.altitudeAgl[i] - stats.padLevel) * perMetre;
      altitude.samples.push_back(PngPixel(layout, i / 10.0, height, ChartSide::Left));
      velocity.samples.push_back(PngPixel(layout, i / 10.0, set.smoothedVelocity[i] * perMetre, ChartSide::Right));
    }
    EXPECT_LE(layout.left.low, -stats.padLevel * perMetre);
    EXPECT_GE(layout.left.high, *stats.apogee * perMetre);
    EXPECT_GT(layout.plot.height, c.page.height / 3) << "the chart takes a good part of the page";
    const std::vector<CurveCheck> checks = CheckCurves(picture, {velocity, altitude});
    EXPECT_GT(checks[0].drawn, 0.99) << "velocity";
    EXPECT_LT(checks[0].covered, 0.08) << "where the altitude crosses it, and both lie at zero on the pad";
    EXPECT_GT(checks[1].drawn, 0.99) << "altitude";
    const PixelPoint apogee = PngPixel(layout, *stats.apogeeS, *stats.apogee * perMetre, ChartSide::Left);
    EXPECT_GT(picture.Count(0x000000, apogee.x - 12, apogee.y - 12, apogee.x + 13, apogee.y + 13), 20u)
        << "the apogee's ring";
  }
}

// Both lines fire at the apogee: one mark says so, and in the picture no
// label lies on another or on a curve (no pixel of a curve's own colour in
// its box); the landing is marked too.
TEST_F(ReportCommandTest, LabelsOfOneMomentShareAMarkAndKeepClearOfTheCurves) {
  FlightParameters both;
  both.rules.lineBMode = LineMode::Apogee;
  WriteFlight("both.zel", RecordFlight(both).packets);
  ASSERT_TRUE(link.LoadDataSet(Wide("both.zel")) && link.ComputeDataSet(0));
  stats = ComputeFlightStats(link.currentSet);
  ASSERT_TRUE(stats.lineA && stats.lineB && stats.landingS);
  ASSERT_EQ(stats.lineA->timeS, stats.lineB->timeS);
  const Outcome made = RunZeltoolCommand({L"report", Wide("both.zel"), Wide("both.png")});
  ASSERT_EQ(0, made.status) << made.err;
  const Picture picture = ReadPng(folder.Path("both.png"));

  const ChartLayout layout = ReportChartLayout(Report(UnitSystem::Metric), kA4Page, PageTextMeasure());
  std::vector<std::string> texts;
  for (const ChartLabel& label : layout.labels) texts.push_back(label.text);
  for (const char* text : {"launch", "burn-out", "lines A and B", "landing"}) {
    EXPECT_EQ(1, std::count(texts.begin(), texts.end(), text)) << text;
  }
  for (size_t i = 0; i < layout.labels.size(); ++i) {
    const PageBox& box = layout.labels[i].box;
    SCOPED_TRACE(layout.labels[i].text);
    for (size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(box, layout.labels[j].box)) << layout.labels[j].text;
    const auto pixel = [](double points) { return static_cast<int>(points * kPngPixelsPerPoint); };
    for (const Rgb& curve : {kAltitudeColour, kVelocityColour}) {
      EXPECT_EQ(0u, picture.Count(PixelOf(curve), pixel(box.left), pixel(box.top), pixel(box.Right()) + 1,
                                  pixel(box.Bottom()) + 1));
    }
  }
}

TEST_F(ReportCommandTest, SvgIsThePageInPoints) {
  const Outcome made = RunZeltoolCommand({L"report", Wide("flight.zel"), Wide("report.svg"), L"--paper", L"letter"});
  ASSERT_EQ(0, made.status) << made.err;
  const std::string svg = ReadFileBytes(folder.Path("report.svg"));
  EXPECT_NE(std::string::npos, svg.find("width=\"612pt\" height=\"792pt\""));
  EXPECT_NE(std::string::npos, svg.rfind("</svg>"));
}

// Nothing to mark and little to scale: the pages are still made, whole.
TEST_F(ReportCommandTest, SetsWithoutAFlightStillMakeTheirPages) {
  DataPacket empty = DataPacket::MakeEmpty();
  empty.kind = kStartPacketKind;
  const std::vector<std::vector<DataPacket>> sets{
      {empty}, PacketsOfSet({MakeSampleWord(800, 0)}), PacketsOfSet(std::vector<uint16_t>(40, MakeSampleWord(800, 2)))};
  for (size_t i = 0; i < sets.size(); ++i) {
    SCOPED_TRACE(i);
    WriteFlight("short.zel", sets[i]);
    const Outcome report = RunZeltoolCommand({L"report", Wide("short.zel"), Wide("short.png")});
    EXPECT_EQ(0, report.status) << report.err;
    EXPECT_EQ(PngSize(kA4Page).width, ReadPng(folder.Path("short.png")).width);
    const Outcome compared = RunZeltoolCommand({L"compare", Wide("short.pdf"), Wide("short.zel"), Wide("flight.zel")});
    EXPECT_EQ(0, compared.status) << compared.err;
    EXPECT_NE(std::string::npos, ReadFileBytes(folder.Path("short.pdf")).rfind("%%EOF"));
  }
}

// cairo refuses text that is not UTF-8, and a comment may be any bytes.
TEST_F(ReportCommandTest, CommentsOfAnyBytesArePrinted) {
  const struct {
    std::string bytes;
    std::string printed;
  } cases[] = {
      {"Field B, \"windy\"\r\nsecond line", "Field B, \"windy\" second line"},
      {"caf\xE9 \xC3\xA9t\xC3", "caf\xEF\xBF\xBD \xC3\xA9t\xEF\xBF\xBD"},  // Latin-1, UTF-8, cut short
      {"tab\there\x7F", "tab here "},
      {"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.printed);
    EXPECT_EQ(c.printed, PrintableText(c.bytes));
    WriteFlight("any.zel", link.packets, c.bytes);
    const Outcome made = RunZeltoolCommand({L"report", Wide("any.zel"), Wide("any.pdf")});
    EXPECT_EQ(0, made.status) << made.err;
  }
}

TEST_F(ReportCommandTest, RefusalsGiveOneLineAndWriteNothing) {
  const std::string good = ReadFileBytes(folder.Path("flight.zel"));
  WriteFileBytes(folder.Path("short.zel"), good.substr(0, good.size() / 2));
  WriteFileBytes(folder.Path("plain"), "not a folder");
  const struct {
    std::vector<std::wstring> args;
    int status;
    const char* says;
  } cases[] = {
      {{L"report", Wide("flight.zel"), Wide("out.pdf"), L"--set", L"1"}, 1,
       "flight.zel has no set 1 (it holds 1 set)\n"},
      {{L"report", Wide("short.zel"), Wide("out.pdf")}, 1, "short.zel is damaged"},
      {{L"report", Wide("missing.zel"), Wide("out.png")}, 1, "missing.zel cannot be opened for reading\n"},
      {{L"report", Wide("flight.zel"), Wide("plain") + L"/out.pdf"}, 1, "out.pdf cannot be written\n"},
      {{L"report", Wide("flight.zel"), Wide("none") + L"/out.svg"}, 1, "out.svg cannot be written\n"},
      {{L"report", Wide("flight.zel"), Wide("out.jpg")}, 2,
       "usage: zeltool report FILE.zel OUT.pdf|OUT.png|OUT.svg [--set N] [--units m|ft] [--paper a4|letter]\n"},
      {{L"report", Wide("flight.zel")}, 2, "usage: zeltool report"},
      {{L"report", Wide("flight.zel"), Wide("out.pdf"), L"--paper", L"a3"}, 2, "usage: zeltool report"},
      {{L"report", Wide("flight.zel"), Wide("out.pdf"), L"--units", L"km"}, 2, "usage: zeltool report"},
      {{L"report", Wide("flight.zel"), Wide("out.pdf"), L"--set", L"-1"}, 2, "usage: zeltool report"},
      {{L"report", Wide("flight.zel"), Wide("out.pdf"), L"--set"}, 2, "usage: zeltool report"},
  };
  const std::string listing = folder.Listing();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    ExpectOneLineRefusal(RunZeltoolCommand(c.args), c.status, c.says);
    EXPECT_EQ(listing, folder.Listing()) << "nothing written";
  }
}

}  // namespace
