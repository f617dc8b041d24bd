#include "view/GraphScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

TEST(GraphMapping, MapsTimeAndValueInsideTheMargins) {
  const int32_t kMax = std::numeric_limits<int32_t>::max();
  const struct {
    const char* name;
    ViewRange range;
    int32_t width, height;
    double t, v;
    int32_t x, y;
  } cases[] = {
      {"origin at bottom left", {0, 0, 100, 100}, 1100, 1100, 0, 0, 50, 1050},
      {"far corner at top right", {0, 0, 100, 100}, 1100, 1100, 100, 100, 1050, 50},
      {"offset origin", {10, -20, 10, 40}, 300, 500, 15, 0, 150, 250},
      {"zero spans count as 1", {0, 0, 0, 0}, 200, 200, 1, 1, 150, 50},
      {"truncated toward zero, not down", {0, 0, 10, 10}, 200, 200, -5.05, 0.05, 0, 149},
      {"saturates far outside", {0, 0, 1, 1}, 200, 200, 1e30, -1e30, kMax, kMax},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const GraphMapping mapping(c.range, c.width, c.height);
    EXPECT_EQ(c.x, mapping.TimeToX(c.t));
    EXPECT_EQ(c.y, mapping.ValueToY(c.v));
  }
}

TEST(GraphMapping, SeriesSamplesLieATenthOfASecondApart) {
  const GraphMapping mapping({0, 0, 1, 10}, 200, 200);
  const std::vector<GraphPoint> expected{{50, 150}, {60, 140}, {70, 50}};
  EXPECT_EQ(expected, mapping.SeriesPoints({0, 1, 10}));
}

TEST(CompactPolyline, DropsRepeatsAndStraightContinuationsOnly) {
  using Points = std::vector<GraphPoint>;
  const struct {
    const char* name;
    Points points, expected;
  } cases[] = {
      {"empty", {}, {}},
      {"one point", {{3, 4}}, {{3, 4}}},
      {"repeats", {{0, 0}, {0, 0}, {1, 1}, {1, 1}}, {{0, 0}, {1, 1}}},
      {"diagonal run", {{0, 0}, {1, 1}, {2, 2}, {4, 4}}, {{0, 0}, {4, 4}}},
      {"vertical run with a repeat", {{5, 0}, {5, 3}, {5, 3}, {5, 9}}, {{5, 0}, {5, 9}}},
      {"turning back is kept", {{5, 0}, {5, 9}, {5, 4}}, {{5, 0}, {5, 9}, {5, 4}}},
      {"corners are kept", {{0, 0}, {2, 0}, {2, 2}, {0, 2}}, {{0, 0}, {2, 0}, {2, 2}, {0, 2}}},
      {"slopes that differ slightly", {{0, 0}, {3, 1}, {5, 2}}, {{0, 0}, {3, 1}, {5, 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, CompactPolyline(c.points));
  }
}

TEST(LineBands, JoinsRunsOfOneLineAndSkipsBothAndNone) {
  const GraphMapping mapping({0, 0, 1, 1}, 200, 200);  // 100 px per second: sample i at 50 + 10 i
  const auto column = [](int sample) { return 50 + 10 * sample + 8; };
  const struct {
    const char* name;
    std::vector<uint8_t> flags;
    std::vector<LineBand> expected;
  } cases[] = {
      {"no flags", {0, 0, 0}, {}},
      {"first sample's flag has no segment", {2, 0}, {}},
      {"both lines draw nothing", {0, 3, 3}, {}},
      {"one run of Line A", {0, 2, 2, 2}, {{column(0), column(3), GraphColour::Red}}},
      {"A, both, B, none, A",
       {0, 2, 2, 3, 1, 1, 0, 2},
       {{column(0), column(2), GraphColour::Red},
        {column(3), column(5), GraphColour::Blue},
        {column(6), column(7), GraphColour::Red}}},
      {"A straight into B", {0, 2, 1}, {{column(0), column(1), GraphColour::Red}, {column(1), column(2), GraphColour::Blue}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<LineBand> bands = LineBands(c.flags, mapping);
    ASSERT_EQ(c.expected.size(), bands.size());
    for (size_t i = 0; i < bands.size(); ++i) {
      EXPECT_EQ(c.expected[i].x0, bands[i].x0);
      EXPECT_EQ(c.expected[i].x1, bands[i].x1);
      EXPECT_EQ(c.expected[i].colour, bands[i].colour);
    }
  }
}

// A set of n samples whose altitude and velocity are flat except where set.
DataSet FlatSet(size_t n) {
  DataSet set;
  set.adc.assign(n, 800);
  set.altitudeAgl.assign(n, 0.0);
  set.smoothedAltitude.assign(n, 0.0);
  set.velocity.assign(n, 0.0);
  set.smoothedVelocityKmh.assign(n, 0.0);
  set.lineFlags.assign(n, 0);
  return set;
}

void ExpectLabel(const GraphLabel& label, const wchar_t* text, GraphPoint origin, GraphColour colour) {
  EXPECT_EQ(text, label.text);
  EXPECT_EQ(origin, label.origin);
  EXPECT_EQ(colour, label.colour);
}

TEST(DataSetScene, EmptySetShowsOnlyTheBackground) {
  DataSet set;
  const DataSetScene scene = BuildDataSetScene(set, GraphMapping({0, 0, 0, 0}, 640, 480));
  EXPECT_TRUE(scene.empty);
  EXPECT_TRUE(scene.altitude.empty());
  EXPECT_TRUE(scene.labels.empty());
}

TEST(DataSetScene, LabelsApogeeTopSpeedAndLegend) {
  DataSet set = FlatSet(300);
  set.altitudeAgl[123] = 456.7;
  set.altitudeAgl[200] = 456.7;  // a later equal maximum is not labelled
  set.velocity[40] = 50.0;       // m/s: 180 km/h
  set.setNumber = 0;
  const GraphMapping mapping({0, -10, 30, 500}, 1100, 600);
  const DataSetScene scene = BuildDataSetScene(set, mapping);
  ASSERT_FALSE(scene.empty);
  EXPECT_EQ(mapping.ValueToY(0), scene.groundY);
  EXPECT_EQ(1100, scene.width);
  const std::vector<GraphPoint> flat{{50, scene.groundY}, {mapping.TimeToX(29.9), scene.groundY}};
  EXPECT_EQ(flat, scene.altitude);  // a flat series is one line
  EXPECT_EQ(flat, scene.velocity);
  ASSERT_EQ(6u, scene.labels.size());
  ExpectLabel(scene.labels[0], L"(12.3 s  456.7 m)",
              {mapping.TimeToX(12.3f), mapping.ValueToY(456.7f) - 30}, GraphColour::Blue);
  ExpectLabel(scene.labels[1], L"(4 s  180 km/h)", {mapping.TimeToX(4.0), mapping.ValueToY(180.0) - 30},
              GraphColour::Blue);
  ExpectLabel(scene.labels[2], L"Ground", {100, scene.groundY - 30}, GraphColour::Blue);
  ExpectLabel(scene.labels[3], L"Smoothed altitude", {10, 10}, GraphColour::Red);
  ExpectLabel(scene.labels[4], L"<Velocity> over 1 second", {10, 50}, GraphColour::Green);
  ExpectLabel(scene.labels[5], L"Data set: 1", {10, 90}, GraphColour::Blue);
}

TEST(DataSetScene, LabelNumbersUseTheProgramsNumberText) {
  const struct {
    double altitude;
    int32_t setNumber;
    const wchar_t* apogee;
    const wchar_t* legend;
  } cases[] = {
      {1234567.0, 4, L"(0 s  1.23457e+006 m)", L"Data set: 5"},
      {-0.5, 41, L"(0 s  -0.5 m)", L"Data set: 42"},
  };
  for (const auto& c : cases) {
    DataSet set = FlatSet(1);
    set.altitudeAgl[0] = c.altitude;
    set.setNumber = c.setNumber;
    const DataSetScene scene = BuildDataSetScene(set, GraphMapping({0, 0, 0, 1}, 640, 480));
    ASSERT_EQ(6u, scene.labels.size());
    EXPECT_EQ(c.apogee, scene.labels[0].text);
    EXPECT_EQ(c.legend, scene.labels[5].text);
  }
}

// A kept picture of the data set view stands in for a scene equal to its own,
// so every part that is drawn must tell scenes apart.
TEST(DataSetScene, ScenesThatDrawDifferentlyAreUnequal) {
  DataSet set = FlatSet(50);
  set.altitudeAgl[20] = set.smoothedAltitude[20] = 100.0;
  set.lineFlags[30] = set.lineFlags[31] = 2;
  const DataSetScene scene = BuildDataSetScene(set, GraphMapping({0, 0, 5, 100}, 640, 480));
  ASSERT_FALSE(scene.bands.empty());
  const struct {
    const char* name;
    std::function<void(DataSetScene&)> change;
  } cases[] = {
      {"emptiness", [](DataSetScene& s) { s.empty = true; }},
      {"width", [](DataSetScene& s) { ++s.width; }},
      {"ground row", [](DataSetScene& s) { ++s.groundY; }},
      {"an altitude point", [](DataSetScene& s) { ++s.altitude.back().x; }},
      {"a velocity point", [](DataSetScene& s) { ++s.velocity.front().y; }},
      {"a point more", [](DataSetScene& s) { s.velocity.push_back(s.velocity.back()); }},
      {"a band's end", [](DataSetScene& s) { ++s.bands[0].x1; }},
      {"a band's colour", [](DataSetScene& s) { s.bands[0].colour = GraphColour::Blue; }},
      {"a label's origin", [](DataSetScene& s) { ++s.labels[0].origin.y; }},
      {"a label's text", [](DataSetScene& s) { s.labels[5].text += L"0"; }},
      {"a label's colour", [](DataSetScene& s) { s.labels[3].colour = GraphColour::Green; }},
  };
  EXPECT_TRUE(scene == DataSetScene(scene));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DataSetScene changed = scene;
    c.change(changed);
    EXPECT_FALSE(changed == scene);
  }
}

TEST(LiveScene, ShowsGroundAndPeakEvenBeforeTheFirstClimb) {
  FastTrace trace;
  trace.samples = {0.0, -0.4, -0.2};
  const GraphMapping mapping(trace.range, 640, 480);
  const LiveScene scene = BuildLiveScene(trace, mapping);
  EXPECT_EQ(mapping.ValueToY(0), scene.groundY);
  EXPECT_EQ(3u, scene.samples.size());
  ASSERT_EQ(2u, scene.labels.size());
  ExpectLabel(scene.labels[0], L"(0 s  0 m)", {mapping.TimeToX(0), mapping.ValueToY(0) - 30}, GraphColour::Blue);
  ExpectLabel(scene.labels[1], L"Ground", {100, scene.groundY - 30}, GraphColour::Blue);
}

// A climb to a peak of 120.5 m at 0.2 s, and down again.
FastTrace PeakedTrace() {
  FastTrace trace;
  trace.samples = {0.0, 50.0, 120.5, 80.0};
  trace.peakTime = 0.2f;
  trace.peakAltitude = 120.5f;
  trace.range = {0, 0, 5, 120};
  return trace;
}

TEST(LiveScene, LabelsThePeak) {
  const FastTrace trace = PeakedTrace();
  const GraphMapping mapping(trace.range, 640, 480);
  const LiveScene scene = BuildLiveScene(trace, mapping);
  ExpectLabel(scene.labels[0], L"(0.2 s  120.5 m)", {mapping.TimeToX(0.2f), mapping.ValueToY(120.5f) - 30},
              GraphColour::Blue);
}

}  // namespace

namespace {

// A climb to 400 m at 5 s with a top speed of 90 m/s, and Line A at 6 s.
DataSet ClimbingSet() {
  DataSet set = FlatSet(300);
  for (size_t i = 0; i < 50; ++i) set.altitudeAgl[i] = set.smoothedAltitude[i] = 8.0 * i;
  set.velocity[20] = 90.0;
  set.lineFlags[60] = set.lineFlags[61] = 2;
  return set;
}

const int32_t kDpis[] = {96, 120, 144, 192};

TEST(DataSetScene, GrowsItsOwnLengthsWithTheDpiButNotTheData) {
  const DataSet set = ClimbingSet();
  const ViewRange range{0, -50, 30, 500};
  for (const int32_t dpi : kDpis) {
    SCOPED_TRACE(dpi);
    const double scale = dpi / 96.0;
    const auto scaled = [scale](int32_t pixels) { return static_cast<int32_t>(std::lround(pixels * scale)); };
    const GraphMapping mapping(range, 1280, 1000, GraphScale(dpi));
    const DataSetScene scene = BuildDataSetScene(set, mapping);
    EXPECT_EQ(scaled(50), mapping.TimeToX(0));  // the margins
    EXPECT_EQ(1000 - scaled(50), mapping.ValueToY(-50));
    EXPECT_FLOAT_EQ(1.0 * scale, scene.style.groundWidth);
    EXPECT_FLOAT_EQ(2.0 * scale, scene.style.seriesWidth);
    EXPECT_FLOAT_EQ(15.0 * scale, scene.style.bandWidth);
    EXPECT_FLOAT_EQ(16.0 * scale, scene.style.fontPixels);  // Arial 12 pt
    ASSERT_EQ(1u, scene.bands.size());
    EXPECT_EQ(mapping.TimeToX(5.9) + scaled(8), scene.bands[0].x0);
    ASSERT_EQ(6u, scene.labels.size());
    ExpectLabel(scene.labels[0], L"(4.9 s  392 m)", {mapping.TimeToX(4.9f), mapping.ValueToY(392.0f) - scaled(30)},
                GraphColour::Blue);
    ExpectLabel(scene.labels[1], L"(2 s  324 km/h)", {mapping.TimeToX(2.0f), mapping.ValueToY(324.0f) - scaled(30)},
                GraphColour::Blue);
    EXPECT_EQ((GraphPoint{scaled(100), scene.groundY - scaled(30)}), scene.labels[2].origin);
    EXPECT_EQ((GraphPoint{scaled(10), scaled(10)}), scene.labels[3].origin);
    EXPECT_EQ((GraphPoint{scaled(10), scaled(50)}), scene.labels[4].origin);
    EXPECT_EQ((GraphPoint{scaled(10), scaled(90)}), scene.labels[5].origin);
  }
}

TEST(DataSetScene, LegendRowsAndGroundCaptionNeverOverlap) {
  const DataSet set = ClimbingSet();
  // From a ground at the foot of the picture to one among the legend's rows.
  for (const int32_t dpi : kDpis) {
    for (int32_t bottom = -50; bottom >= -5000; bottom -= 50) {
      SCOPED_TRACE(testing::Message() << dpi << " DPI, range from " << bottom << " m");
      const DataSetScene scene = BuildDataSetScene(set, GraphMapping({0, bottom, 30, 500 - bottom}, 1280, 1000,
                                                                     GraphScale(dpi)));
      for (size_t i = 2; i < scene.labels.size(); ++i) {
        for (size_t j = i + 1; j < scene.labels.size(); ++j) {
          EXPECT_FALSE(SharePixels(LabelBox(scene.labels[i], scene.style), LabelBox(scene.labels[j], scene.style)))
              << std::string(scene.labels[i].text.begin(), scene.labels[i].text.end()) << " over "
              << std::string(scene.labels[j].text.begin(), scene.labels[j].text.end());
        }
      }
      // Beside the legend, the caption stays on its ground line.
      EXPECT_EQ(scene.groundY - GraphScale(dpi).Pixels(30), scene.labels[2].origin.y);
    }
  }
}

TEST(LiveScene, GrowsItsPensFontAndOffsetsWithTheDpi) {
  const FastTrace trace = PeakedTrace();
  for (const int32_t dpi : kDpis) {
    SCOPED_TRACE(dpi);
    const GraphScale scale(dpi);
    const GraphMapping mapping(trace.range, 640, 480, scale);
    const LiveScene scene = BuildLiveScene(trace, mapping);
    EXPECT_FLOAT_EQ(3.0f * dpi / 96, scene.style.groundWidth);
    EXPECT_FLOAT_EQ(3.0f * dpi / 96, scene.style.seriesWidth);
    EXPECT_FLOAT_EQ(16.0f * dpi / 96, scene.style.fontPixels);
    EXPECT_EQ(mapping.ValueToY(120.5f) - scale.Pixels(30), scene.labels[0].origin.y);
    EXPECT_EQ((GraphPoint{scale.Pixels(100), scene.groundY - scale.Pixels(30)}), scene.labels[1].origin);
  }
}

TEST(LayoutText, GivesEachLabelsBoxInDecimal) {
  DataSetScene scene;
  scene.style.fontPixels = 16;
  scene.groundY = 900;
  scene.labels = {{{100, 870}, L"Ground", GraphColour::Blue}};
  // Ground: 6831 font units of advance, 53.4 px at 16 px, and an em / 6 each side.
  EXPECT_EQ("Graph layout: 16 900\nGraph label: 100 870 159 889 Ground\n", LayoutText(scene));
}

}  // namespace
