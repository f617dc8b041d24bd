#pragma once
// What the two pictures of the graph show, in pixels and texts, worked out
// from the data without any drawing API: the data set view of a DataSet and
// the live trace of a FastTrace. The Win32 painter only strokes and prints it.
#include <cstdint>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/FastSet.h"
#include "view/GraphMapping.h"

enum class GraphColour { Blue, Red, Green };

struct GraphLabel {
  GraphPoint origin;  // top-left corner of the text
  std::wstring text;
  GraphColour colour = GraphColour::Blue;
};

// A run of consecutive samples during which one ejection line fired, drawn as
// one thick stroke on the ground row from column x0 to x1.
struct LineBand {
  int32_t x0 = 0;
  int32_t x1 = 0;
  GraphColour colour = GraphColour::Red;
};

struct DataSetScene {
  bool empty = true;  // an empty set shows only the background
  int32_t width = 0;  // the ground line spans it
  int32_t groundY = 0;
  std::vector<GraphPoint> altitude;  // smoothed altitude, m
  std::vector<GraphPoint> velocity;  // smoothed velocity, km/h
  std::vector<LineBand> bands;
  std::vector<GraphLabel> labels;  // in drawing order
};

// Scenes that are equal draw the same picture at the same size.
bool operator==(const GraphLabel& a, const GraphLabel& b);
bool operator==(const LineBand& a, const LineBand& b);
bool operator==(const DataSetScene& a, const DataSetScene& b);

struct LiveScene {
  int32_t width = 0;
  int32_t groundY = 0;
  std::vector<GraphPoint> samples;
  std::vector<GraphLabel> labels;
};

DataSetScene BuildDataSetScene(const DataSet& set, const GraphMapping& mapping);
LiveScene BuildLiveScene(const FastTrace& trace, const GraphMapping& mapping);

// The bands of Line A (flag 2, red) and Line B (flag 1, blue): the segment
// from sample i - 1 to i belongs to sample i and is shifted 8 pixels right;
// samples with both lines (3) or none (0) draw nothing. Consecutive segments of
// one line are joined into one band.
std::vector<LineBand> LineBands(const std::vector<uint8_t>& lineFlags, const GraphMapping& mapping);
