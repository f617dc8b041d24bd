#include "view/GraphScene.h"

#include <sstream>

#include "base/NumberText.h"
#include "view/LabelMetrics.h"

namespace {

// Lengths of the 96-DPI picture; GraphScale gives them at the screen's DPI.
constexpr int32_t kLabelRise = 30;  // labels sit this far above their point
constexpr int32_t kBandShift = 8;
constexpr int32_t kGroundCaptionX = 100;
constexpr int32_t kLegendX = 10;
constexpr int32_t kLegendRows[] = {10, 50, 90};
constexpr int32_t kCaptionGap = 10;  // between a legend row and a ground caption moved aside
constexpr float kFontPixels = 16.0f;
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

SceneStyle StyleAt(const GraphScale& scale, float groundWidth, float seriesWidth, float bandWidth) {
  return {scale.Width(groundWidth), scale.Width(seriesWidth), scale.Width(bandWidth), scale.Width(kFontPixels)};
}

GraphLabel PointLabel(const GraphMapping& mapping, float seconds, float value, const wchar_t* unit) {
  return {{mapping.TimeToX(seconds), mapping.ValueToY(value) - mapping.Scale().Pixels(kLabelRise)},
          TimeValueText(seconds, value, unit),
          GraphColour::Blue};
}

// Above the ground line; where a ground high up the picture would put it over
// the legend, beside the legend's rows instead.
GraphLabel GroundLabel(int32_t groundY, const GraphScale& scale, const SceneStyle& style,
                       const std::vector<GraphLabel>& legend) {
  GraphLabel caption{{scale.Pixels(kGroundCaptionX), groundY - scale.Pixels(kLabelRise)}, L"Ground",
                     GraphColour::Blue};
  for (const GraphLabel& row : legend) {
    const PixelBox rowBox = LabelBox(row, style);
    if (SharePixels(LabelBox(caption, style), rowBox)) caption.origin.x = rowBox.right + scale.Pixels(kCaptionGap);
  }
  return caption;
}

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

void AddLegend(const DataSet& set, const DataSetScene& scene, const GraphScale& scale,
               std::vector<GraphLabel>& labels) {
  const int32_t x = scale.Pixels(kLegendX);
  const std::vector<GraphLabel> legend{
      {{x, scale.Pixels(kLegendRows[0])}, L"Smoothed altitude", GraphColour::Red},
      {{x, scale.Pixels(kLegendRows[1])}, L"<Velocity> over 1 second", GraphColour::Green},
      {{x, scale.Pixels(kLegendRows[2])}, SetLegend(set.setNumber), GraphColour::Blue}};
  labels.push_back(GroundLabel(scene.groundY, scale, scene.style, legend));
  labels.insert(labels.end(), legend.begin(), legend.end());
}

}  // namespace

bool operator==(const SceneStyle& a, const SceneStyle& b) {
  return a.groundWidth == b.groundWidth && a.seriesWidth == b.seriesWidth && a.bandWidth == b.bandWidth &&
         a.fontPixels == b.fontPixels;
}

bool operator==(const GraphLabel& a, const GraphLabel& b) {
  return a.origin == b.origin && a.text == b.text && a.colour == b.colour;
}

bool operator==(const LineBand& a, const LineBand& b) {
  return a.x0 == b.x0 && a.x1 == b.x1 && a.colour == b.colour;
}

bool operator==(const DataSetScene& a, const DataSetScene& b) {
  return a.empty == b.empty && a.style == b.style && a.width == b.width && a.groundY == b.groundY && a.altitude == b.altitude &&
         a.velocity == b.velocity && a.bands == b.bands && a.labels == b.labels;
}

std::string LayoutText(const DataSetScene& scene) {
  std::ostringstream text;
  text << std::dec << "Graph layout: " << scene.style.fontPixels << ' ' << scene.groundY << '\n';
  for (const GraphLabel& label : scene.labels) {
    const PixelBox box = LabelBox(label, scene.style);
    text << "Graph label: " << box.left << ' ' << box.top << ' ' << box.right << ' ' << box.bottom << ' '
         << std::string(label.text.begin(), label.text.end()) << '\n';  // labels are ASCII
  }
  return text.str();
}

PixelBox LabelBox(const GraphLabel& label, const SceneStyle& style) {
  return LabelBox(label.origin, label.text, style.fontPixels);
}

std::vector<LineBand> LineBands(const std::vector<uint8_t>& lineFlags, const GraphMapping& mapping) {
  const int32_t shift = mapping.Scale().Pixels(kBandShift);
  std::vector<LineBand> bands;
  uint8_t previous = 0;
  for (size_t i = 1; i < lineFlags.size(); ++i) {
    const uint8_t flag = lineFlags[i];
    if (flag != kLineA && flag != kLineB) {
      previous = 0;
      continue;
    }
    const int32_t x1 = mapping.TimeToX(SampleTime(i)) + shift;
    if (flag == previous) {
      bands.back().x1 = x1;
    } else {
      const int32_t x0 = mapping.TimeToX(SampleTime(i - 1)) + shift;
      bands.push_back({x0, x1, flag == kLineA ? GraphColour::Red : GraphColour::Blue});
    }
    previous = flag;
  }
  return bands;
}

DataSetScene BuildDataSetScene(const DataSet& set, const GraphMapping& mapping) {
  DataSetScene scene;
  scene.empty = set.IsEmpty();
  scene.style = StyleAt(mapping.Scale(), 1.0f, 2.0f, 15.0f);
  scene.width = mapping.Width();
  scene.groundY = mapping.ValueToY(0.0);
  if (scene.empty) return scene;
  scene.altitude = mapping.SeriesPoints(set.smoothedAltitude);
  scene.velocity = mapping.SeriesPoints(set.smoothedVelocityKmh);
  scene.bands = LineBands(set.lineFlags, mapping);
  AddPeakLabels(set, mapping, scene.labels);
  AddLegend(set, scene, mapping.Scale(), scene.labels);
  return scene;
}

LiveScene BuildLiveScene(const FastTrace& trace, const GraphMapping& mapping) {
  LiveScene scene;
  scene.style = StyleAt(mapping.Scale(), 3.0f, 3.0f, 0.0f);
  scene.width = mapping.Width();
  scene.groundY = mapping.ValueToY(0.0);
  scene.samples = mapping.SeriesPoints(trace.samples);
  // Until a sample lies above the first one this reads (0 s  0 m).
  scene.labels.push_back(PointLabel(mapping, trace.peakTime, trace.peakAltitude, L"m"));
  scene.labels.push_back(GroundLabel(scene.groundY, mapping.Scale(), scene.style, {}));
  return scene;
}
