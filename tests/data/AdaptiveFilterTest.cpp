#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "data/AdaptiveFilter.h"

namespace {

// The filter as defined, one sample at a time: the fast path must agree with
// it to the bit, or exports and graphs drift from stored results.
std::vector<double> ReferenceFilter(const std::vector<double>& x, double cap) {
  const int n = static_cast<int>(x.size());
  std::vector<double> out(x.size());
  double s = 0.0;
  for (int i = 0; i < n; ++i) {
    int lo = -40, hi = 40;
    if (i - 40 < 0) lo = -i;
    if (i + 40 >= n) hi = n - i - 1;
    double d = 0.0;
    for (int j = i + lo; j < i + hi; ++j) d += std::fabs(x[i] - x[j]);
    const int span = hi - lo;
    double w = span == 0 ? 0.0 : std::pow(0.95, 10.0 * (d / span) / span);
    if (w > cap) w = cap;
    s = w * s + (1.0 - w) * x[i];
    out[i] = s;
  }
  return out;
}

TEST(AdaptiveFilter, MatchesTheDefinitionToTheBitAtEveryLength) {
  std::mt19937 random(7);
  std::normal_distribution<double> noise(0.0, 3.0);
  for (const int n : {1, 2, 3, 80, 81, 82, 84, 85, 86, 87, 88, 161, 600, 3968}) {
    std::vector<double> x(n);
    double climb = 0.0;
    for (double& v : x) v = (climb += 2.5) + noise(random);
    for (const double cap : {kNoWeightCap, 0.8}) {
      const std::vector<double> fast = AdaptiveFilter(x, cap, nullptr);
      const std::vector<double> reference = ReferenceFilter(x, cap);
      ASSERT_EQ(fast.size(), reference.size());
      EXPECT_EQ(0, std::memcmp(fast.data(), reference.data(), n * sizeof(double))) << "n = " << n << ", cap " << cap;
    }
  }
}

}  // namespace
