#include "view/page/ChartScale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/StatUnits.h"

namespace {

// Guards the multiples of a step against the last bits of binary fractions:
// 0.3 / 0.1 is 2.9999999999999996.
constexpr double kRounding = 1e-9;
// Shares of the data's span: an end moves to a round value this near, else
// lies this far past the data.
constexpr double kSnapShare = 0.05;
constexpr double kPadShare = 0.02;

double RoundBelow(double value, double step) { return std::floor(value / step + kRounding) * step; }
double RoundAbove(double value, double step) { return std::ceil(value / step - kRounding) * step; }

// The smallest round step with at most `intervals` of them from min to max.
double RoundStep(double min, double max, int intervals) {
  for (double power = std::pow(10.0, std::floor(std::log10((max - min) / intervals)));; power *= 10.0) {
    for (const double mantissa : {1.0, 2.0, 5.0}) {
      const double step = mantissa * power;
      if ((RoundAbove(max, step) - RoundBelow(min, step)) / step <= intervals + kRounding) return step;
    }
  }
}

// The smallest round step (1, 2 or 5 times a power of ten) of `least` or more.
double RoundStepOf(double least) {
  for (double power = std::pow(10.0, std::floor(std::log10(least)));; power *= 10.0) {
    for (const double mantissa : {1.0, 2.0, 5.0}) {
      if (mantissa * power >= least * (1.0 - kRounding)) return mantissa * power;
    }
  }
}

// A value axis' data, widened to hold zero and at least one unit.
struct DataRange {
  double min;
  double max;

  DataRange(double from, double to) {
    if (!std::isfinite(from) || !std::isfinite(to)) from = to = 0.0;
    min = std::min(from, 0.0);
    max = std::max(to, 0.0);
    if (!(max > min)) max = 1.0;  // both were 0
  }
  // The round step that holds the data in `below` intervals under zero and
  // `above` over it; 0 when they cannot.
  double StepFor(int below, int above) const {
    if ((min < 0.0 && below == 0) || (max > 0.0 && above == 0)) return 0.0;
    const double under = below == 0 ? 0.0 : -min / below, over = above == 0 ? 0.0 : max / above;
    return RoundStepOf(std::max(under, over));
  }
};

}  // namespace

std::vector<double> AxisScale::Ticks() const {
  std::vector<double> ticks;
  const long first = std::lround(RoundAbove(low, step) / step), last = std::lround(RoundBelow(high, step) / step);
  for (long i = first; i <= last; ++i) ticks.push_back(static_cast<double>(i) * step);
  return ticks;
}

std::string AxisScale::TickText(double value) const {
  const int decimals = std::max(0, -static_cast<int>(std::floor(std::log10(step) + kRounding)));
  return FixedText(value, decimals);
}

AxisScale RoundScale(double min, double max, int mostIntervals) {
  if (!std::isfinite(min) || !std::isfinite(max)) min = max = 0.0;
  if (!(max > min)) {
    min -= 1.0;
    max += 1.0;
  }
  const double span = max - min;
  const double step = RoundStep(min, max, std::max(1, mostIntervals));
  const double below = RoundBelow(min, step), above = RoundAbove(max, step);
  return {min - below <= kSnapShare * span ? below : min - kPadShare * span,
          above - max <= kSnapShare * span ? above : max + kPadShare * span, step};
}

std::pair<AxisScale, AxisScale> SharedGridScales(double leftMin, double leftMax, double rightMin, double rightMax,
                                                 int mostIntervals) {
  const DataRange left(leftMin, leftMax), right(rightMin, rightMax);
  std::pair<AxisScale, AxisScale> best;
  double leastEmpty = std::numeric_limits<double>::infinity();
  for (int intervals = 1; intervals <= std::max(1, mostIntervals); ++intervals) {
    for (int below = 0; below <= intervals; ++below) {
      const double leftStep = left.StepFor(below, intervals - below);
      const double rightStep = right.StepFor(below, intervals - below);
      if (leftStep == 0.0 || rightStep == 0.0) continue;
      // Each axis' length over its data's: 1 when the data fill it.
      const double empty = intervals * (leftStep / (left.max - left.min) + rightStep / (right.max - right.min));
      if (empty >= leastEmpty) continue;
      leastEmpty = empty;
      best = {{-below * leftStep, (intervals - below) * leftStep, leftStep},
              {-below * rightStep, (intervals - below) * rightStep, rightStep}};
    }
  }
  return best;
}
