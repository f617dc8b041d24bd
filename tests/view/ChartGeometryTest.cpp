// The charts' geometry (native builds, beside cairo): round ticks, the
// value axes the right way up and on one grid, labels that never cover each
// other, their marks or the curves, and the comparison's colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "view/page/ChartLayout.h"
#include "view/page/ChartScale.h"
#include "view/page/FlightCharts.h"
#include "view/page/LabelPlacement.h"

namespace {

// 1, 2 or 5 times a power of ten.
bool IsRound(double step) {
  const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
  return std::fabs(mantissa - 1) < 1e-9 || std::fabs(mantissa - 2) < 1e-9 || std::fabs(mantissa - 5) < 1e-9;
}

TEST(RoundScale, TicksAreRoundAndTheAxisHoldsTheData) {
  const struct {
    double min, max;
    int most;
    double step, low, high;
  } cases[] = {
      {0, 69.1, 8, 10, 0, 70},                    // the end snaps to a near round value
      {-5.2, 297.4, 8, 50, -5.2 - 0.02 * 302.6, 300},  // a small dip below 0 does not cost a step
      {0, 1359, 8, 200, 0, 1400},
      {-12, 87.8, 10, 20, -12 - 0.02 * 99.8, 87.8 + 0.02 * 99.8},  // ends far from a tick: a little room
      {0.013, 0.372, 8, 0.05, 0, 0.372 + 0.02 * 0.359},
      {5, 5, 8, 0.5, 4, 6},                       // a flat series: one unit either side
      {0, 100, 1, 100, 0, 100},
      {0, 100, 0, 100, 0, 100},                   // at least one interval
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << " to " << c.max << " in " << c.most);
    const AxisScale scale = RoundScale(c.min, c.max, c.most);
    EXPECT_DOUBLE_EQ(c.step, scale.step);
    EXPECT_NEAR(c.low, scale.low, 1e-9);
    EXPECT_NEAR(c.high, scale.high, 1e-9);
  }
  for (const double span : {0.07, 1.3, 9.9, 42.0, 777.0, 31415.0}) {
    for (const double min : {-span, -span / 7, 0.0, span / 3}) {
      const AxisScale scale = RoundScale(min, min + span, 9);
      const std::vector<double> ticks = scale.Ticks();
      EXPECT_TRUE(IsRound(scale.step)) << scale.step;
      EXPECT_LE(scale.low, min + span * 1e-12);
      EXPECT_GE(scale.high, min + span - span * 1e-12);
      EXPECT_LE((scale.high - scale.low) / scale.step, 10.5) << "no more than the ticks asked for, and a part";
      ASSERT_GE(ticks.size(), 2u);
      EXPECT_LT(ticks.front() - scale.step, scale.low) << "no tick left out at the low end";
      EXPECT_GT(ticks.back() + scale.step, scale.high) << "nor at the high end";
      for (const double tick : ticks) {
        EXPECT_TRUE(tick >= scale.low - 1e-9 && tick <= scale.high + 1e-9) << tick;
        EXPECT_NEAR(0.0, std::remainder(tick, scale.step), scale.step * 1e-9) << tick;
      }
    }
  }
}

TEST(RoundScale, TickTextsShowTheStepsDecimals) {
  const AxisScale tenths{-0.35, 0.3, 0.1};
  std::vector<std::string> texts;
  for (const double tick : tenths.Ticks()) texts.push_back(tenths.TickText(tick));
  EXPECT_EQ((std::vector<std::string>{"-0.3", "-0.2", "-0.1", "0.0", "0.1", "0.2", "0.3"}), texts);
  EXPECT_EQ("1400", (AxisScale{0, 1400, 200}.TickText(1400)));
  EXPECT_EQ("0.05", (AxisScale{0, 0.4, 0.05}.TickText(0.05)));
}

TEST(PlaceLabels, CrowdedLabelsNeitherOverlapNorLeaveTheArea) {
  const PageBox area{100, 100, 400, 300};
  std::vector<LabelRequest> labels;
  // A launch, its burn-out, an apogee at the top edge with its line firing.
  for (const ChartPoint& at : std::vector<ChartPoint>{{105, 398}, {108, 380}, {300, 101}, {303, 104}, {306, 102}}) {
    labels.push_back({at, 60, 10});
  }
  const std::vector<PageBox> boxes = PlaceLabels(labels, area);
  ASSERT_EQ(labels.size(), boxes.size());
  for (size_t i = 0; i < boxes.size(); ++i) {
    EXPECT_TRUE(boxes[i].left >= area.left && boxes[i].Right() <= area.Right() && boxes[i].top >= area.top &&
                boxes[i].Bottom() <= area.Bottom())
        << i;
    EXPECT_LT(std::hypot(boxes[i].left - labels[i].anchor.x, boxes[i].top - labels[i].anchor.y), 80) << i;
    for (size_t j = 0; j < i; ++j) EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << i << " over " << j;
  }
  const std::vector<PageBox> alone = PlaceLabels({{{200, 200}, 60, 10}}, area);
  EXPECT_TRUE(alone[0].left > 200 && alone[0].Bottom() < 200) << "above and right of its point when free";
  const std::vector<PageBox> atEdge = PlaceLabels({{{495, 250}, 60, 10}}, area);
  EXPECT_LE(atEdge[0].Right(), area.Right()) << "kept inside at the right edge";
  EXPECT_FALSE(Overlap(atEdge[0], {493, 248, 4, 4})) << "and off its own mark";
}

TEST(PlaceLabels, BoxesThatOnlyTouchDoNotOverlap) {
  const PageBox box{10, 10, 20, 10};
  const struct {
    PageBox other;
    bool overlap;
  } cases[] = {
      {{30, 10, 5, 10}, false}, {{0, 20, 40, 5}, false}, {{-5, 0, 15, 10}, false},  // sharing an edge or a corner
      {{29.9, 10, 5, 10}, true}, {{15, 19.9, 2, 2}, true}, {{12, 12, 2, 2}, true},  // inside or across
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.overlap, Overlap(box, c.other)) << c.other.left << ", " << c.other.top;
    EXPECT_EQ(c.overlap, Overlap(c.other, box));
  }
}

// A rising line through the place just above and right of its mark, and a
// second label at the same point: both go elsewhere, clear of it and each other.
TEST(PlaceLabels, LabelsKeepClearOfCurves) {
  const PageBox area{0, 0, 400, 300};
  const PageCurve rising{{100, 200}, {200, 100}, {300, 0}};
  const std::vector<LabelRequest> labels{{{150, 150}, 50, 10}, {{150, 150}, 70, 10}};
  const std::vector<PageBox> boxes = PlaceLabels(labels, area, {rising});
  EXPECT_FALSE(Overlap(boxes[0], boxes[1]));
  for (const PageBox& box : boxes) {
    for (size_t i = 1; i < rising.size(); ++i) EXPECT_FALSE(Crosses(box, rising[i - 1], rising[i])) << box.left;
  }
}

class FixedMeasure : public TextMeasure {
 public:
  TextSize Measure(const std::string& text, const TextStyle& style) const override {
    return {0.5 * style.size * static_cast<double>(text.size()), style.size * 1.2, style.size};
  }
};

TEST(LayOutChart, HigherValuesStandHigherAndEveryPointIsInView) {
  ChartSpec chart;
  chart.left = {"altitude (m)", {0, 0, 0}};
  chart.curves = {{{{0, 0}, {5, 100}, {10, 40}}, {0, 0, 0}, ChartSide::Left}};
  chart.events = {{{12, 150}, "late and high"}};
  const PageBox box{50, 60, 500, 400};
  const ChartLayout layout = LayOutChart(chart, box, FixedMeasure());
  EXPECT_GE(layout.time.high, 12.0);
  EXPECT_GE(layout.left.high, 150.0);
  EXPECT_NEAR(layout.plot.Bottom(), layout.Y(layout.left.low, ChartSide::Left), 1e-9) << "the low end at the bottom";
  EXPECT_NEAR(layout.plot.top, layout.Y(layout.left.high, ChartSide::Left), 1e-9);
  EXPECT_LT(layout.Y(100, ChartSide::Left), layout.Y(40, ChartSide::Left));
  EXPECT_LT(layout.X(5), layout.X(10));
  EXPECT_TRUE(layout.plot.top > box.top && layout.plot.Bottom() < box.Bottom() && layout.plot.left > box.left &&
              layout.plot.Right() < box.Right());
}

// Every right tick on a grid line of the left axis, both zeros on one, both
// axes holding their data; and a time axis cut short marks the curve it cuts.
TEST(LayOutChart, TheRightAxisSharesTheGridAndACutCurveIsMarked) {
  for (const double lowest : {-35.0, -2.0, 0.5}) {
    SCOPED_TRACE(lowest);
    ChartSpec chart;
    chart.left = {"altitude (m)", {0, 0, 0}};
    chart.right = ValueAxis{"velocity (m/s)", {0, 0, 0}};
    chart.curves = {{{{0, -4}, {8, 297}, {60, 0}}, {0, 0, 0}, ChartSide::Left},
                    {{{0, 0}, {1, 89}, {9, lowest}, {400, 0}}, {0, 0, 0}, ChartSide::Right}};
    chart.timeEnd = 66.0;
    const ChartLayout layout = LayOutChart(chart, {0, 0, 600, 500}, FixedMeasure());
    EXPECT_TRUE(layout.left.low <= -4 && layout.left.high >= 297 && layout.right.low <= std::min(0.0, lowest) &&
                layout.right.high >= 89);
    std::vector<double> gridLines;
    for (const double tick : layout.left.Ticks()) gridLines.push_back(layout.Y(tick, ChartSide::Left));
    const auto onGrid = [&](double y) {
      return std::any_of(gridLines.begin(), gridLines.end(), [&](double line) { return std::fabs(line - y) < 1e-6; });
    };
    EXPECT_TRUE(onGrid(layout.Y(0, ChartSide::Right)));
    EXPECT_NEAR(layout.Y(0, ChartSide::Left), layout.Y(0, ChartSide::Right), 1e-6);
    for (const double tick : layout.right.Ticks()) EXPECT_TRUE(onGrid(layout.Y(tick, ChartSide::Right))) << tick;
    EXPECT_GE(layout.right.Ticks().size(), 3u);

    EXPECT_TRUE(layout.time.high >= 66 && layout.time.high < 100) << layout.time.high;
    ASSERT_EQ(1u, layout.labels.size());
    EXPECT_EQ(MarkShape::Cut, layout.labels[0].shape);
    EXPECT_EQ("cut: recorded to 400.0 s", layout.labels[0].text);
    EXPECT_NEAR(layout.plot.Right(), layout.labels[0].mark.x, 1e-9);
  }
}

// WCAG 2 relative luminance and contrast, worked out here.
double Luminance(const Rgb& colour) {
  double sum = 0.0;
  const double weights[] = {0.2126, 0.7152, 0.0722};
  const uint8_t parts[] = {colour.red, colour.green, colour.blue};
  for (int i = 0; i < 3; ++i) {
    const double c = parts[i] / 255.0;
    sum += weights[i] * (c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
  }
  return sum;
}

TEST(ComparisonPalette, EveryColourStandsOutOnWhitePaper) {
  const auto& palette = ComparisonPalette();
  for (size_t i = 0; i < palette.size(); ++i) {
    EXPECT_GE(1.05 / (Luminance(palette[i]) + 0.05), 3.0) << i;
    for (size_t j = 0; j < i; ++j) {
      EXPECT_NE(std::tie(palette[i].red, palette[i].green, palette[i].blue),
                std::tie(palette[j].red, palette[j].green, palette[j].blue));
    }
  }
}

}  // namespace
