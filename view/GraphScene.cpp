#include "view/GraphScene.h"

#include <sstream>

#include "base/NumberText.h"

namespace {

constexpr int32_t kLabelRise = 30;  // labels sit this far above their point
constexpr int32_t kBandShift = 8;
constexpr uint8_t kLineA = 2;
constexpr uint8_t kLineB = 1;
constexpr float kKmhPerMs = 3.6f;

// "(t s  value unit)" with the program's number text.
std::wstring TimeValueText(float seconds, float value, const wchar_t* unit) {
  std::wostringstream text;
  text.imbue(NumberTextLocale());
  text << L"(" << seconds << L" s  " << value << L" " << unit << L")";
  return text.str();
}

GraphLabel PointLabel(const GraphMapping& mapping, float seconds, float value, const wchar_t* unit) {
  return {{mapping.TimeToX(seconds), mapping.ValueToY(value) - kLabelRise},
          TimeValueText(seconds, value, unit),
          GraphColour::Blue};
}

GraphLabel GroundLabel(int32_t groundY) { return {{100, groundY - kLabelRise}, L"Ground", GraphColour::Blue}; }

std::wstring SetLegend(int32_t setNumber) {
  std::wostringstream text;
  text << L"Data set: " << static_cast<int64_t>(setNumber) + 1;  // sets count from 1 on screen
  return text.str();
}

void AddPeakLabels(const DataSet& set, const GraphMapping& mapping, std::vector<GraphLabel>& labels) {
  const int32_t apogee = set.IndexOfMaximum(set.altitudeAgl);
  if (apogee >= 0) {
    labels.push_back(PointLabel(mapping, static_cast<float>(SampleTime(apogee)),
                                static_cast<float>(set.altitudeAgl[apogee]), L"m"));
  }
  // The unsmoothed top speed, while the curve shows the smoothed one.
  const int32_t topSpeed = set.IndexOfMaximum(set.velocity);
  if (topSpeed >= 0) {
    labels.push_back(PointLabel(mapping, static_cast<float>(SampleTime(topSpeed)),
                                static_cast<float>(set.velocity[topSpeed] * kKmhPerMs), L"km/h"));
  }
}

void AddLegend(const DataSet& set, int32_t groundY, std::vector<GraphLabel>& labels) {
  labels.push_back(GroundLabel(groundY));
  labels.push_back({{10, 10}, L"Smoothed altitude", GraphColour::Red});
  labels.push_back({{10, 50}, L"<Velocity> over 1 second", GraphColour::Green});
  labels.push_back({{10, 90}, SetLegend(set.setNumber), GraphColour::Blue});
}

}  // namespace

bool operator==(const GraphLabel& a, const GraphLabel& b) {
  return a.origin == b.origin && a.text == b.text && a.colour == b.colour;
}

bool operator==(const LineBand& a, const LineBand& b) {
  return a.x0 == b.x0 && a.x1 == b.x1 && a.colour == b.colour;
}

bool operator==(const DataSetScene& a, const DataSetScene& b) {
  return a.empty == b.empty && a.width == b.width && a.groundY == b.groundY && a.altitude == b.altitude &&
         a.velocity == b.velocity && a.bands == b.bands && a.labels == b.labels;
}

std::vector<LineBand> LineBands(const std::vector<uint8_t>& lineFlags, const GraphMapping& mapping) {
  std::vector<LineBand> bands;
  uint8_t previous = 0;
  for (size_t i = 1; i < lineFlags.size(); ++i) {
    const uint8_t flag = lineFlags[i];
    if (flag != kLineA && flag != kLineB) {
      previous = 0;
      continue;
    }
    const int32_t x1 = mapping.TimeToX(SampleTime(i)) + kBandShift;
    if (flag == previous) {
      bands.back().x1 = x1;
    } else {
      const int32_t x0 = mapping.TimeToX(SampleTime(i - 1)) + kBandShift;
      bands.push_back({x0, x1, flag == kLineA ? GraphColour::Red : GraphColour::Blue});
    }
    previous = flag;
  }
  return bands;
}

DataSetScene BuildDataSetScene(const DataSet& set, const GraphMapping& mapping) {
  DataSetScene scene;
  scene.empty = set.IsEmpty();
  scene.width = mapping.Width();
  scene.groundY = mapping.ValueToY(0.0);
  if (scene.empty) return scene;
  scene.altitude = mapping.SeriesPoints(set.smoothedAltitude);
  scene.velocity = mapping.SeriesPoints(set.smoothedVelocityKmh);
  scene.bands = LineBands(set.lineFlags, mapping);
  AddPeakLabels(set, mapping, scene.labels);
  AddLegend(set, scene.groundY, scene.labels);
  return scene;
}

LiveScene BuildLiveScene(const FastTrace& trace, const GraphMapping& mapping) {
  LiveScene scene;
  scene.width = mapping.Width();
  scene.groundY = mapping.ValueToY(0.0);
  scene.samples = mapping.SeriesPoints(trace.samples);
  // Until a sample lies above the first one this reads (0 s  0 m).
  scene.labels.push_back(PointLabel(mapping, trace.peakTime, trace.peakAltitude, L"m"));
  scene.labels.push_back(GroundLabel(scene.groundY));
  return scene;
}
