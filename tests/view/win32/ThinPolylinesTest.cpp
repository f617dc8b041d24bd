// The data set view's curves drawn as thin polylines must look like the same
// curves stroked with the 2-pixel GDI+ pen from the same points: nearly every
// curve pixel of either picture has one of its colour at most a pixel away in
// the other, and every pixel that is no curve's (background, ground line,
// bands, labels) is the same.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"
#include "support/win32/MemoryPicture.h"
#include "view/GraphColours.h"
#include "view/GraphScene.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/GraphPainter.h"

namespace {

// The client area of the program's maximised window at 1280 x 1024.
constexpr int kWidth = 1280;
constexpr int kHeight = 1005;
constexpr double kRequiredShare = 0.995;

using Pixels = std::vector<uint32_t>;

uint32_t PixelOf(Rgb colour) {
  return static_cast<uint32_t>(colour.red) << 16 | static_cast<uint32_t>(colour.green) << 8 | colour.blue;
}

const uint32_t kCurveColours[] = {PixelOf(RgbOf(GraphColour::Red)), PixelOf(RgbOf(GraphColour::Green))};

bool IsCurveColour(uint32_t pixel) {
  return std::find(std::begin(kCurveColours), std::end(kCurveColours), pixel) != std::end(kCurveColours);
}

Pixels Painted(const DataSetScene& scene, SeriesStroke stroke) {
  MemoryPicture picture(kWidth, kHeight);
  EXPECT_TRUE(picture.Ready());
  if (!picture.Ready()) return Pixels(static_cast<size_t>(kWidth) * kHeight);
  picture.Fill(kDataSetBackground);
  PaintDataSetScene(picture.Dc(), scene, stroke);
  return picture.Pixels();
}

// Whether `to` has `colour` at (x, y) or at one of its four neighbours.
bool HasWithinOnePixel(const Pixels& to, int x, int y, uint32_t colour) {
  const int reach[][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
  for (const auto& step : reach) {
    const int nx = x + step[0], ny = y + step[1];
    if (nx >= 0 && ny >= 0 && nx < kWidth && ny < kHeight && to[static_cast<size_t>(ny) * kWidth + nx] == colour) {
      return true;
    }
  }
  return false;
}

// The share of `from`'s pixels of `colour` that have one of it within a pixel in `to`.
double ShareWithinOnePixel(const Pixels& from, const Pixels& to, uint32_t colour) {
  size_t count = 0, close = 0;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (from[static_cast<size_t>(y) * kWidth + x] != colour) continue;
      ++count;
      if (HasWithinOnePixel(to, x, y, colour)) ++close;
    }
  }
  return count == 0 ? 1.0 : static_cast<double>(close) / count;
}

struct Comparison {
  double closeness = 1.0;  // the lowest share, over both colours and both ways
  size_t curvePixels = 0;  // of the thin picture
  size_t otherDifferences = 0;
};

// Curves are told apart from same-coloured labels and bands on pictures of
// the curves alone, where nothing else is red or green.
Comparison Compare(const DataSetScene& scene) {
  DataSetScene curves = scene;
  curves.bands.clear();
  curves.labels.clear();
  const Pixels wideCurves = Painted(curves, SeriesStroke::OnePath);
  const Pixels thinCurves = Painted(curves, SeriesStroke::ThinPolylines);
  Comparison comparison;
  for (const uint32_t colour : kCurveColours) {
    comparison.closeness = std::min({comparison.closeness, ShareWithinOnePixel(thinCurves, wideCurves, colour),
                                     ShareWithinOnePixel(wideCurves, thinCurves, colour)});
  }
  comparison.curvePixels = static_cast<size_t>(std::count_if(thinCurves.begin(), thinCurves.end(), IsCurveColour));
  const Pixels wide = Painted(scene, SeriesStroke::OnePath);
  const Pixels thin = Painted(scene, SeriesStroke::ThinPolylines);
  for (size_t i = 0; i < wide.size(); ++i) {
    if (wide[i] != thin[i] && !IsCurveColour(wideCurves[i]) && !IsCurveColour(thinCurves[i])) {
      ++comparison.otherDifferences;
    }
  }
  return comparison;
}

// The scene of a flight of the flight model, shaped from the default one.
DataSetScene SceneOfFlight(void (*shape)(FlightParameters&)) {
  FlightParameters flight;
  shape(flight);
  NoDeviceBackend backend;
  AltimeterLink link(backend);
  {
    const auto data = link.LockData();
    link.packets = RecordFlight(flight).packets;
  }
  EXPECT_TRUE(link.SelectDataSet(0));
  const auto data = link.LockData();
  return BuildDataSetScene(link.currentSet, GraphMapping(link.viewRange, kWidth, kHeight));
}

// Noise on the climb and descent, and a velocity that reverses at every
// sample: needle-sharp joints a few pixels apart, as no filter would leave them.
DataSetScene JaggedScene() {
  constexpr int kSamples = 300;
  std::mt19937 random(7);
  std::uniform_real_distribution<double> noise(-15.0, 15.0);
  DataSet set;
  for (int i = 0; i < kSamples; ++i) {
    const double altitude = 300.0 - (i - 150) * (i - 150) / 75.0 + noise(random);
    const double kmh = 150.0 - i + (i % 2 == 0 ? -10.0 : 10.0);
    set.adc.push_back(800);
    set.altitudeAgl.push_back(altitude);
    set.smoothedAltitude.push_back(altitude);
    set.velocity.push_back(kmh / 3.6);
    set.smoothedVelocityKmh.push_back(kmh);
    set.lineFlags.push_back(0);
  }
  return BuildDataSetScene(set, GraphMapping(RangeOfDataSet(set), kWidth, kHeight));
}

class ThinPolylines : public ::testing::Test {
 protected:
  GdiplusSession gdiplus;
  LogCapture log;  // the data set's selection logs its smoothing
};

TEST_F(ThinPolylines, CurvesLieWithinAPixelOfTheWidePensAndNothingElseChanges) {
  const struct {
    const char* name;
    DataSetScene scene;
    size_t leastBands;  // that the case shows
  } cases[] = {
      {"full memory", SceneOfFlight([](FlightParameters& flight) {
         flight.thrustN = 60.0;
         flight.burnTimeS = 2.5;
         flight.descentRateMs = 2.0;
         flight.rules.maxReadings = 3968;
       }),
       0},
      {"short flight", SceneOfFlight([](FlightParameters& flight) { flight.rules.maxReadings = 90; }), 0},
      // Line A at apogee, Line B 3 s after launch.
      {"both lines", SceneOfFlight([](FlightParameters& flight) {
         flight.rules.lineBMode = LineMode::Time;
         flight.rules.lineBValue = 30;
       }),
       2},
      {"noise and reversals", JaggedScene(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(c.scene.empty);
    EXPECT_LE(c.leastBands, c.scene.bands.size());
    const Comparison comparison = Compare(c.scene);
    std::printf("%s: curve pixels within 1 px: %.2f%% (%zu curve pixels)\n", c.name, 100.0 * comparison.closeness,
                comparison.curvePixels);
    EXPECT_GT(comparison.curvePixels, 1000u) << "curves too short to tell anything";
    EXPECT_GE(comparison.closeness, kRequiredShare);
    EXPECT_EQ(0u, comparison.otherDifferences);
  }
}

}  // namespace
