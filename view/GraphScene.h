#pragma once
// What the two pictures of the graph show, in pixels and texts, worked out
// from the data without any drawing API: the data set view of a DataSet and
// the live trace of a FastTrace, at the mapping's DPI. The painters only stroke
// and print it.
#include <cstdint>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/FastSet.h"
#include "view/GraphMapping.h"
#include "view/PixelBox.h"

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

// Pen widths and the labels' font size in pixels: a pen the scene has no use
// for is 0. Arial 12 pt is 16 pixels at 96 DPI.
struct SceneStyle {
  float groundWidth = 0;
  float seriesWidth = 0;
  float bandWidth = 0;
  float fontPixels = 0;
};

bool operator==(const SceneStyle& a, const SceneStyle& b);

struct DataSetScene {
  bool empty = true;  // an empty set shows only the background
  SceneStyle style;
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
  SceneStyle style;
  int32_t width = 0;
  int32_t groundY = 0;
  std::vector<GraphPoint> samples;
  std::vector<GraphLabel> labels;
};

DataSetScene BuildDataSetScene(const DataSet& set, const GraphMapping& mapping);
LiveScene BuildLiveScene(const FastTrace& trace, const GraphMapping& mapping);

// The scene's layout as text, for a test driver to check from outside: a line
// "Graph layout: F G" (font pixels, ground row), then one per label,
// "Graph label: LEFT TOP RIGHT BOTTOM TEXT" with its box. Decimal whatever a
// stream's base.
std::string LayoutText(const DataSetScene& scene);

// Where a label of the scene prints: the box GDI+ measures for it.
PixelBox LabelBox(const GraphLabel& label, const SceneStyle& style);

// The bands of Line A (flag 2, red) and Line B (flag 1, blue): the segment
// from sample i - 1 to i belongs to sample i and is shifted 8 pixels (at
// 96 DPI) right;
// samples with both lines (3) or none (0) draw nothing. Consecutive segments of
// one line are joined into one band.
std::vector<LineBand> LineBands(const std::vector<uint8_t>& lineFlags, const GraphMapping& mapping);
