#include "data/ViewRange.h"

#include <gtest/gtest.h>

#include <limits>

#include "data/DataSet.h"

namespace {

TEST(RangeOfDataSet, SpansTruncatedAltitudeAndVelocityOnOneScale) {
  struct Case {
    const char* name;
    size_t samples;
    double altitude;  // every smoothedAltitude value but the last
    double lastAltitude;
    double kmh;  // every smoothedVelocityKmh value
    ViewRange expected;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Case cases[] = {
      {"empty", 0, 0, 0, 0, {0, 0, 0, 0}},
      {"nine samples", 9, 0, 0, 0, {0, 0, 0, 0}},
      {"truncated toward zero", 25, -0.9, 120.7, 36.99, {0, 0, 2, 120}},
      {"velocity below altitude", 40, 3.5, 80.2, -55.5, {0, -55, 4, 135}},
      {"NaN counts as 0", 10, nan, 10, 0, {0, 0, 1, 10}},
      {"span saturates", 10, -3e9, 3e9, 0, {0, std::numeric_limits<int32_t>::min(), 1,
                                           std::numeric_limits<int32_t>::max()}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DataSet set;
    set.adc.assign(c.samples, 0);
    set.smoothedAltitude.assign(c.samples, c.altitude);
    if (c.samples > 0) set.smoothedAltitude.back() = c.lastAltitude;
    set.smoothedVelocityKmh.assign(c.samples, c.kmh);
    const ViewRange range = RangeOfDataSet(set);
    EXPECT_EQ(c.expected.X, range.X);
    EXPECT_EQ(c.expected.Y, range.Y);
    EXPECT_EQ(c.expected.Width, range.Width);
    EXPECT_EQ(c.expected.Height, range.Height);
  }
}

}  // namespace
