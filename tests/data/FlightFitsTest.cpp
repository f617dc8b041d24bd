// The fits behind the flight statistics, on curves whose answers are known:
// lines, a descent coming to rest, a simplex's minimum, and a climb drawn by
// the ascent model itself.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <vector>

#include "data/AscentFit.h"
#include "data/LineFits.h"
#include "data/SimplexMinimizer.h"

namespace {

std::vector<double> Sampled(size_t count, double (*curve)(double)) {
  std::vector<double> series;
  for (size_t i = 0; i < count; ++i) series.push_back(curve(0.1 * static_cast<double>(i)));
  return series;
}

TEST(LineFitsTest, AStraightLineFitsExactly) {
  const std::vector<double> line = Sampled(400, [](double t) { return 1500.0 - 5.5 * t; });
  for (const auto& [first, last] : {std::pair<size_t, size_t>{0, 2}, {100, 399}, {390, 399}}) {
    const LineFit fit = FitLine(line, first, last);
    EXPECT_NEAR(-5.5, fit.slope, 1e-9) << first << " to " << last;
    EXPECT_NEAR(0.0, fit.slopeError, 1e-6);
  }
  EXPECT_NEAR(-5.5, CentredSlope(line, 0, 5), 1e-9) << "a window shrunk at the start";
  EXPECT_NEAR(1500.0 - 5.5 * 39.65, CentredMean(line, 399, 5), 1e-9) << "and at the end: the mean of the last 6";
}

TEST(LineFitsTest, TheSlopesErrorGrowsWithTheScatter) {
  // Three samples 0, 1, 0: a flat line, 2/3 of squares left over one degree of
  // freedom (n - 2), over a spread of 0.02 s^2: sqrt(2/3 / 1 / 0.02).
  const LineFit three = FitLine({0.0, 1.0, 0.0}, 0, 2);
  EXPECT_NEAR(0.0, three.slope, 1e-9);
  EXPECT_NEAR(std::sqrt(100.0 / 3.0), three.slopeError, 1e-9);

  std::vector<double> noisy = Sampled(200, [](double t) { return 300.0 - 2.0 * t; });
  for (size_t i = 0; i < noisy.size(); ++i) noisy[i] += (i % 2 == 0 ? 4.0 : -4.0);
  const LineFit fit = FitLine(noisy, 0, 199);
  EXPECT_NEAR(-2.0, fit.slope, 0.01);
  // +-4 m of scatter over 20 s: sigma / sqrt(sum (t - mean)^2) = 4 / sqrt(200 * 400 / 12).
  EXPECT_NEAR(4.0 / std::sqrt(200.0 * 400.0 / 12.0), fit.slopeError, 0.002);
}

TEST(LineFitsTest, ADescentComingToRestIsFoundWhereItStops) {
  for (const double restS : {30.03, 35.5, 48.0}) {
    std::vector<double> series;
    for (size_t i = 0; i < 500; ++i) series.push_back(100.0 + 6.0 * std::max(restS - 0.1 * i, 0.0));
    const RestFit fit = FitRest(series, 100, 499);
    EXPECT_NEAR(restS, fit.restS, 0.011);
    EXPECT_NEAR(100.0, fit.level, 0.1);
    EXPECT_NEAR(-6.0, fit.slope, 0.01);
    EXPECT_NEAR(0.0, fit.residual, 1.0);
  }
}

TEST(SimplexMinimizerTest, FindsTheBottomOfACurvedValleyAndSkirtsWhereTheFunctionIsUndefined) {
  // Rosenbrock's valley, undefined (NaN) for x < -1.5.
  int evaluations = 0;
  const SimplexFunction valley = [&](const std::vector<double>& p) {
    if (++evaluations > 100000) throw std::runtime_error("the evaluation budget was not kept");
    if (p[0] < -1.5) return std::numeric_limits<double>::quiet_NaN();
    return 100.0 * std::pow(p[1] - p[0] * p[0], 2) + std::pow(1.0 - p[0], 2);
  };
  const std::vector<double> bottom = MinimizeSimplex(valley, {-1.2, 1.0}, {0.5, 0.5}, 1e-14, 5000);
  EXPECT_NEAR(1.0, bottom[0], 1e-3);
  EXPECT_NEAR(1.0, bottom[1], 1e-3);
  // Expanding along the valley and contracting inside it take about 190; the
  // ascent fit's budget of 2,000 would cut a slower search short.
  EXPECT_LE(evaluations, 250);

  evaluations = 0;
  const std::vector<double> stopped = MinimizeSimplex(valley, {-1.2, 1.0}, {0.5, 0.5}, -1.0, 50);  // never settles
  EXPECT_EQ(2u, stopped.size()) << "out of evaluations, it still answers with its best point";
  EXPECT_GE(evaluations, 50);
  EXPECT_LE(evaluations, 50 + 3) << "the last step may pass the budget by its contraction and shrink";

  // Started half where f is undefined: the NaN corner is the worst one, not one no value compares with.
  const SimplexFunction halfDefined = [](const std::vector<double>& p) {
    return p[0] < 0.0 ? std::numeric_limits<double>::quiet_NaN() : (p[0] - 5.0) * (p[0] - 5.0);
  };
  EXPECT_NEAR(5.0, MinimizeSimplex(halfDefined, {-1.0}, {2.0}, 1e-12, 1000)[0], 1e-3);
}

TEST(AscentTest, WithoutDragTheCoastIsTheTextbooksParabolaAndWithItTheHeightStillRunsSmoothly) {
  const Ascent vacuum(1.0, 3.0, 40.0, 0.0);  // 2 s at 40 m/s^2: 80 m/s at 80 m
  EXPECT_NEAR(80.0, vacuum.BurnOutSpeed(), 1e-9);
  EXPECT_NEAR(3.0 + 80.0 / 9.80665, vacuum.ApogeeS(), 1e-9);
  EXPECT_NEAR(80.0 + 80.0 * 80.0 / (2 * 9.80665), vacuum.ApogeeHeight(), 1e-9);
  EXPECT_EQ(0.0, vacuum.HeightAt(0.5)) << "on the pad";

  const Ascent air(1.2, 3.0, 118.0, 0.0019);
  for (const double at : {air.BurnOutS(), air.ApogeeS()}) {
    EXPECT_NEAR(air.HeightAt(at - 1e-6), air.HeightAt(at + 1e-6), 1e-3) << "no jump at " << at;
  }
  const double speed = (air.HeightAt(air.BurnOutS() + 1e-4) - air.HeightAt(air.BurnOutS() - 1e-4)) / 2e-4;
  EXPECT_NEAR(air.BurnOutSpeed(), speed, 0.01);
  EXPECT_LT(air.BurnOutSpeed(), 118.0 * 1.8) << "the drag holds it back";
  EXPECT_NEAR(air.ApogeeHeight(), air.HeightAt(air.ApogeeS()), 1e-9);
  EXPECT_LT(air.HeightAt(air.ApogeeS() + 2.0), air.ApogeeHeight() - 15.0) << "falling after the top";
}

TEST(AscentTest, AFitFindsTheClimbItWasDrawnWith) {
  const Ascent drawn(1.0, 2.25, 74.0, 0.0021);
  const double pad = -3.5;
  std::vector<double> altitude;
  for (size_t i = 0; i < 150; ++i) altitude.push_back(pad + drawn.HeightAt(0.1 * static_cast<double>(i)));
  const size_t peak = static_cast<size_t>(drawn.ApogeeS() / 0.1) + 3;  // a rough peak, a little late
  const std::optional<AscentFit> fit = FitAscent(altitude, peak);
  ASSERT_TRUE(fit);
  EXPECT_NEAR(pad, fit->padLevel, 0.01);
  EXPECT_NEAR(drawn.LaunchS(), fit->ascent.LaunchS(), 0.01);
  EXPECT_NEAR(drawn.BurnOutS(), fit->ascent.BurnOutS(), 0.01);
  EXPECT_NEAR(drawn.ApogeeS(), fit->ascent.ApogeeS(), 0.01);
  EXPECT_NEAR(drawn.ApogeeHeight(), fit->ascent.ApogeeHeight(), 0.05);
  EXPECT_NEAR(drawn.Acceleration(), fit->ascent.Acceleration(), 0.5);
  EXPECT_FALSE(FitAscent(altitude, 1)) << "no climb before the second sample";
  EXPECT_FALSE(FitAscent(altitude, altitude.size())) << "a peak beyond the samples";
}

TEST(AscentTest, AClimbThatNeverSlowsFitsAnApogeeFarPastTheSamplesWithoutBreaking) {
  // e^(3t) m for 15 s: the fitted apogee lies some 1e20 s out, past any sample index.
  std::vector<double> altitude;
  for (size_t i = 0; i < 150; ++i) altitude.push_back(std::exp(0.3 * static_cast<double>(i)));
  const std::optional<AscentFit> fit = FitAscent(altitude, 140);
  EXPECT_TRUE(!fit || std::isfinite(fit->ascent.ApogeeS()));
}

TEST(AscentTest, TheFitRunsToTheApogeeItFindsHoweverEarlyTheRoughPeak) {
  const Ascent drawn(1.0, 2.25, 74.0, 0.0021);
  std::vector<double> altitude;  // on the sensor's 9 m steps, with a little noise
  for (size_t i = 0; i < 200; ++i) {
    const double t = 0.1 * static_cast<double>(i);
    altitude.push_back(9.0 * std::floor(drawn.HeightAt(t) / 9.0 + 0.5 + 0.3 * std::sin(12.9898 * i)));
  }
  const auto top = static_cast<size_t>(drawn.ApogeeS() / 0.1);
  const std::optional<AscentFit> nearer = FitAscent(altitude, top - 5), farther = FitAscent(altitude, top - 20);
  ASSERT_TRUE(nearer && farther);
  EXPECT_NEAR(nearer->ascent.ApogeeHeight(), farther->ascent.ApogeeHeight(), 0.2);
  EXPECT_NEAR(nearer->ascent.ApogeeS(), farther->ascent.ApogeeS(), 0.02);
}

}  // namespace
