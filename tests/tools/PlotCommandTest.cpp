// zeltool plot (native builds only): the picture holds the program's scene in
// its colours, at the size asked for, and is written whole or not at all.
#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <sstream>
#include <string>

#include "data/FlightFixtures.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "support/LogCapture.h"
#include "support/TempFolder.h"
#include "tools/PngPicture.h"
#include "tools/ZeltoolRun.h"
#include "tools/zeltool/CommandTable.h"
#include "tools/zeltool/Zeltool.h"
#include "view/GraphScene.h"

namespace {

// Pango, cairo and fontconfig keep their font caches for the whole process,
// behind encoded pointers that the leak checker takes for leaks: they go once,
// at its end, Pango's first as it holds cairo's fonts.
class FontCachesRelease : public testing::Environment {
 public:
  void TearDown() override {
    pango_cairo_font_map_set_default(nullptr);
    cairo_debug_reset_static_data();
    FcFini();
  }
};
const testing::Environment* const kFontCachesRelease = testing::AddGlobalTestEnvironment(new FontCachesRelease);

constexpr uint32_t kBackground = 0xB4B4FF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x008000;
constexpr uint32_t kBlue = 0x0000FF;

class PlotCommandTest : public testing::Test {
 protected:
  void SetUp() override {
    link.packets = flight.packets;
    link.comments = {"plotted"};
    ASSERT_TRUE(link.SaveDataSet(Wide("flight.zel"), 0));
    ASSERT_TRUE(link.SelectDataSet(0));
  }

  Outcome Run(const std::vector<std::wstring>& args) { return RunZeltoolCommand(args); }

  // What the program draws of the flight in a client area of that size.
  DataSetScene Scene(int32_t width, int32_t height) const {
    return BuildDataSetScene(link.currentSet, GraphMapping(link.viewRange, width, height));
  }

  std::wstring Wide(const std::string& name) const { return folder.WidePath(name); }

  const RecordedFlight flight = ModelledFlight(128 * kWordsPerPacket);
  LogCapture log;
  NoDeviceBackend noDevices;
  AltimeterLink link{noDevices};
  TempFolder folder;
};

// The share of the series' corners with a pixel of its colour within 2 pixels.
double ShareDrawn(const Picture& picture, const std::vector<GraphPoint>& series, uint32_t colour) {
  size_t drawn = 0;
  for (const GraphPoint& point : series) drawn += picture.Near(point.x, point.y, colour, 2) ? 1 : 0;
  return series.empty() ? 0.0 : static_cast<double>(drawn) / static_cast<double>(series.size());
}

TEST_F(PlotCommandTest, PngShowsTheProgramsSceneAtTheSizeAskedFor) {
  const struct {
    std::vector<std::wstring> options;
    int width, height;
  } cases[] = {
      {{}, 1280, 1005},
      {{L"--size", L"640x480"}, 640, 480},
      {{L"--size", L"800x600", L"--set", L"0"}, 800, 600},
      {{L"--set", L"0", L"--size", L"1920x1080"}, 1920, 1080},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    std::vector<std::wstring> args{L"plot", Wide("flight.zel"), Wide("chart.PNG")};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Outcome plotted = Run(args);
    EXPECT_EQ(0, plotted.status) << plotted.err;
    EXPECT_EQ("", plotted.out + plotted.err);
    const Picture picture = ReadPng(folder.Path("chart.PNG"));
    ASSERT_EQ(c.width, picture.width);
    ASSERT_EQ(c.height, picture.height);
    EXPECT_EQ(kBackground, picture.At(c.width - 1, 0));
    EXPECT_GT(picture.Count(kBackground), picture.pixels.size() * 9 / 10);

    const DataSetScene scene = Scene(c.width, c.height);
    EXPECT_GT(ShareDrawn(picture, scene.altitude, kRed), 0.95) << "the altitude curve, red, where the program has it";
    EXPECT_GT(ShareDrawn(picture, scene.velocity, kGreen), 0.95) << "the velocity curve, green";
    EXPECT_GT(picture.Count(kBlue, 0, scene.groundY, c.width, scene.groundY + 1), size_t(c.width) * 3 / 4)
        << "the ground line, 1 pixel, on the program's row";
    EXPECT_EQ(0u, picture.Count(kBlue, 0, scene.groundY - 8, 40, scene.groundY)) << "no thicker than that";
    EXPECT_GT(picture.Count(kRed, 10, 10, 200, 40), 30u) << "\"Smoothed altitude\" at (10, 10)";
    EXPECT_GT(picture.Count(kGreen, 10, 50, 200, 80), 30u) << "\"<Velocity> over 1 second\" at (10, 50)";
    EXPECT_GT(picture.Count(kBlue, 10, 90, 200, 120), 20u) << "\"Data set: 1\" at (10, 90)";
    EXPECT_EQ(0u, picture.Count(kRed, 0, 0, 10, 10) + picture.Count(kRed, 0, 0, 200, 9)) << "no text above or left";
  }
}

TEST_F(PlotCommandTest, LineBandsAre15PixelsOnTheGround) {
  const Outcome plotted = Run({L"plot", Wide("flight.zel"), Wide("chart.png")});
  ASSERT_EQ(0, plotted.status) << plotted.err;
  const Picture picture = ReadPng(folder.Path("chart.png"));
  const DataSetScene scene = Scene(1280, 1005);
  ASSERT_FALSE(scene.bands.empty()) << "the flight fires its lines";
  for (const LineBand& band : scene.bands) {
    const uint32_t colour = band.colour == GraphColour::Red ? kRed : kBlue;
    const int x = (band.x0 + band.x1) / 2;
    int rows = 0;
    for (int y = scene.groundY - 10; y <= scene.groundY + 10; ++y) rows += picture.At(x, y) == colour ? 1 : 0;
    EXPECT_EQ(15, rows) << "band at column " << x;
  }
}

TEST_F(PlotCommandTest, SvgIsAPictureOfTheSameSize) {
  const Outcome plotted = Run({L"plot", Wide("flight.zel"), Wide("chart.svg"), L"--size", L"640x480"});
  ASSERT_EQ(0, plotted.status) << plotted.err;
  const std::string svg = ReadFileBytes(folder.Path("chart.svg"));
  EXPECT_EQ(0u, svg.find("<?xml")) << svg.substr(0, 80);
  EXPECT_NE(std::string::npos, svg.find("width=\"640pt\" height=\"480pt\""));
  for (const char* colour : {"rgb(100%,0%,0%)", "rgb(0%,50.196078%,0%)", "rgb(0%,0%,100%)", "rgb(70.588235%,70.588235%,100%)"}) {
    EXPECT_NE(std::string::npos, svg.find(colour)) << colour;
  }
  EXPECT_NE(std::string::npos, svg.rfind("</svg>"));
}

TEST_F(PlotCommandTest, FailuresGiveOneLineAndWriteNothing) {
  const std::string good = ReadFileBytes(folder.Path("flight.zel"));
  WriteFileBytes(folder.Path("short.zel"), good.substr(0, good.size() / 2));
  WriteFileBytes(folder.Path("plain"), "not a folder");
  const struct {
    std::vector<std::wstring> args;
    int status;
    const char* says;
  } cases[] = {
      {{L"plot", Wide("short.zel"), Wide("out.png")}, 1, "short.zel is damaged: it ends before the data it announces\n"},
      {{L"plot", Wide("missing.zel"), Wide("out.png")}, 1, "missing.zel cannot be opened for reading\n"},
      {{L"plot", Wide("flight.zel"), Wide("out.png"), L"--set", L"1"}, 1, "flight.zel has no set 1 (it holds 1 set)\n"},
      {{L"plot", Wide("flight.zel"), Wide("plain") + L"/out.png"}, 1, "out.png cannot be written\n"},
      {{L"plot", Wide("flight.zel"), Wide("none") + L"/out.svg"}, 1, "out.svg cannot be written\n"},
      {{L"plot", Wide("flight.zel"), Wide("out.jpg")}, 2, "usage: zeltool plot FILE.zel OUT.png|OUT.svg [--set N] [--size WxH]\n"},
      {{L"plot", Wide("flight.zel"), Wide("out")}, 2, "usage: zeltool plot"},
      {{L"plot", Wide("flight.zel")}, 2, "usage: zeltool plot"},
      {{L"plot", Wide("flight.zel"), Wide("out.png"), L"--size", L"640"}, 2, "usage: zeltool plot"},
      {{L"plot", Wide("flight.zel"), Wide("out.png"), L"--size", L"0x480"}, 2, "usage: zeltool plot"},
      {{L"plot", Wide("flight.zel"), Wide("out.png"), L"--size", L"640x8193"}, 2, "usage: zeltool plot"},
      {{L"plot", Wide("flight.zel"), Wide("out.png"), L"--size", L"x480"}, 2, "usage: zeltool plot"},
      {{L"plot", Wide("flight.zel"), Wide("out.png"), L"--set", L"-1"}, 2, "usage: zeltool plot"},
      {{L"plot", Wide("flight.zel"), Wide("out.png"), L"--set"}, 2, "usage: zeltool plot"},
  };
  const std::string listing = folder.Listing();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    ExpectOneLineRefusal(Run(c.args), c.status, c.says);
    EXPECT_EQ(listing, folder.Listing()) << "nothing written";
  }
}

// "--set" without its value, with a "0" left in the list's storage just past
// its end: reading past the end would plot set 0 of a missing file instead.
TEST_F(PlotCommandTest, ADanglingOptionIsRefusedBeforeAnythingElseIsRead) {
  ZeltoolArgs args{Wide("missing.zel"), Wide("out.png"), L"--set", L"0"};
  args.pop_back();
  const ZeltoolCommand* plot = FindZeltoolCommand("plot");
  ASSERT_NE(nullptr, plot);
  std::ostringstream out, err;
  ZeltoolIo io{out, err};
  const int status = plot->run(args, io);
  ExpectOneLineRefusal({status, out.str(), err.str()}, kZeltoolUsageError, "usage: zeltool plot");
}

TEST_F(PlotCommandTest, TheLargestSizeIsAccepted) {
  const Outcome plotted = Run({L"plot", Wide("flight.zel"), Wide("largest.svg"), L"--size", L"8192x8192"});
  ASSERT_EQ(0, plotted.status) << plotted.err;
  EXPECT_NE(std::string::npos, ReadFileBytes(folder.Path("largest.svg")).find("width=\"8192pt\" height=\"8192pt\""));
}

// Plots after the first find fontconfig as the first left it (a mark set on
// its configuration stays), rather than shut down and loading its fonts again,
// and each is the same picture.
TEST_F(PlotCommandTest, PlotsInOneProcessAreAlikeAndKeepTheFontsLoaded) {
  const int usualInterval = FcConfigGetRescanInterval(nullptr);
  const int markedInterval = usualInterval + 1234;
  ASSERT_TRUE(FcConfigSetRescanInterval(nullptr, markedInterval));
  std::vector<std::string> pictures;
  for (const char* name : {"first.png", "second.png", "third.png"}) {
    const Outcome plotted = Run({L"plot", Wide("flight.zel"), Wide(name)});
    ASSERT_EQ(0, plotted.status) << plotted.err;
    pictures.push_back(ReadFileBytes(folder.Path(name)));
  }
  EXPECT_EQ(markedInterval, FcConfigGetRescanInterval(nullptr));
  FcConfigSetRescanInterval(nullptr, usualInterval);
  EXPECT_EQ(pictures[0], pictures[1]);
  EXPECT_EQ(pictures[0], pictures[2]);
}

TEST_F(PlotCommandTest, HelpListsPlot) {
  const Outcome help = Run({L"--help"});
  EXPECT_NE(std::string::npos, help.out.find("zeltool plot FILE.zel OUT.png|OUT.svg [--set N] [--size WxH]\n"));
}

}  // namespace
