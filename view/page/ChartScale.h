#pragma once
// An axis scale with ticks at round values: multiples of a step that is 1, 2
// or 5 times a power of ten, so every tick reads as a round number. The axis
// ends at the round value just past the data when that is near, else a
// little past the data, so that no curve wastes an interval of empty space.
// Portable (no drawing).
#include <string>
#include <utility>
#include <vector>

struct AxisScale {
  double low = 0.0;  // the axis' ends, at or beyond the data
  double high = 1.0;
  double step = 1.0;

  // The multiples of the step from low to high, each computed from its
  // index, so 0.1 * 3 is the value its text shows.
  std::vector<double> Ticks() const;
  // A tick's text with as many decimals as the step needs: "250", "0.5".
  std::string TickText(double value) const;
};

// The scale of data from `min` to `max` with the largest round step that
// puts at most `mostIntervals` (1 or more) steps across it. An empty or
// one-point range is widened to one unit on either side, so a flat series
// still gets an axis around it.
AxisScale RoundScale(double min, double max, int mostIntervals);

// Scales for two value axes beside one plot that share its grid lines: as
// many intervals each (at most `mostIntervals`), zero at the same height on
// both, every tick of either on a grid line, each axis holding its data from
// round tick to round tick, and as little of either empty as can be.
std::pair<AxisScale, AxisScale> SharedGridScales(double leftMin, double leftMax, double rightMin, double rightMax,
                                                 int mostIntervals);
