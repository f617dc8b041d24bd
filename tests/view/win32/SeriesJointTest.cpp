// A series stroked as one path must look as if it were stroked segment by
// segment, but for the joints themselves: a mitre at a sharp reversal throws a
// spike far past its sample.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"
#include "support/win32/MemoryPicture.h"
#include "view/GraphScene.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/GraphPainter.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

double DistanceToNearest(const std::vector<GraphPoint>& joints, int x, int y) {
  double nearest = HUGE_VAL;
  for (const GraphPoint& joint : joints) nearest = std::min(nearest, std::hypot(x - joint.x, y - joint.y));
  return nearest;
}

struct StrokeDifference {
  int pixels = 0;
  double farthestFromJoint = 0.0;  // px
};

StrokeDifference CompareStrokes(const std::function<void(HDC, SeriesStroke)>& paint,
                                const std::vector<GraphPoint>& joints) {
  const MemoryPicture onePath(kWidth, kHeight);
  const MemoryPicture segments(kWidth, kHeight);
  EXPECT_TRUE(onePath.Ready() && segments.Ready());
  if (!onePath.Ready() || !segments.Ready()) return {};
  paint(onePath.Dc(), SeriesStroke::OnePath);
  paint(segments.Dc(), SeriesStroke::SegmentBySegment);
  StrokeDifference difference;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      if (onePath.Pixel(x, y) == segments.Pixel(x, y)) continue;
      ++difference.pixels;
      difference.farthestFromJoint = std::max(difference.farthestFromJoint, DistanceToNearest(joints, x, y));
    }
  }
  return difference;
}

void ExpectDifferencesOnlyAtJoints(const char* picture, const StrokeDifference& difference, float penWidth) {
  std::printf("%s: %d pixels differ between one path and segment by segment, the farthest %.1f px from a sample\n",
              picture, difference.pixels, difference.farthestFromJoint);
  EXPECT_LE(difference.farthestFromJoint, 2.0 * penWidth) << picture;
}

// Reversals from blunt to needle-sharp: every other sample on the ground, the
// ones between ever higher.
FastTrace ZigZagTrace() {
  constexpr int kSamples = 120;
  FastTrace trace;
  for (int i = 0; i < kSamples; ++i) trace.samples.push_back(i % 2 == 0 ? 0.0 : i * 2.0);
  trace.range = {0, 0, kSamples / 10, 2 * kSamples};
  return trace;
}

class SeriesJoints : public ::testing::Test {
 protected:
  GdiplusSession gdiplus;
  LogCapture log;  // the data set's selection logs its smoothing
};

TEST_F(SeriesJoints, ZigZagLiveTraceDiffersOnlyAtJoints) {
  const FastTrace trace = ZigZagTrace();
  const LiveScene scene = BuildLiveScene(trace, GraphMapping(trace.range, kWidth, kHeight));
  const StrokeDifference difference =
      CompareStrokes([&scene](HDC dc, SeriesStroke stroke) { PaintLiveScene(dc, scene, stroke); }, scene.samples);
  EXPECT_GT(difference.pixels, 0) << "no joint drawn: the picture tests nothing";
  ExpectDifferencesOnlyAtJoints("zig-zag live trace", difference, scene.style.seriesWidth);
}

TEST_F(SeriesJoints, SampleFlightDiffersOnlyAtJoints) {
  FlightParameters flight;
  flight.seed = 7;
  flight.rules.maxReadings = 992;
  NoDeviceBackend backend;
  AltimeterLink link(backend);
  {
    const auto data = link.LockData();
    link.packets = RecordFlight(flight).packets;
  }
  ASSERT_TRUE(link.SelectDataSet(0));
  const auto data = link.LockData();
  const DataSetScene scene = BuildDataSetScene(link.currentSet, GraphMapping(link.viewRange, kWidth, kHeight));
  ASSERT_FALSE(scene.empty);
  std::vector<GraphPoint> joints = scene.altitude;
  joints.insert(joints.end(), scene.velocity.begin(), scene.velocity.end());
  const StrokeDifference difference =
      CompareStrokes([&scene](HDC dc, SeriesStroke stroke) { PaintDataSetScene(dc, scene, stroke); }, joints);
  ExpectDifferencesOnlyAtJoints("sample flight", difference, scene.style.seriesWidth);
}

}  // namespace
