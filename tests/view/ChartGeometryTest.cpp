// The charts' geometry (native builds, beside cairo): round ticks, and
// labels that never cover each other.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "view/cairo/ChartScale.h"
#include "view/cairo/LabelPlacement.h"

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
}

}  // namespace
