#pragma once
// A page canvas that writes down what it is asked to draw, one line a call,
// its numbers to a hundredth of a point: where the page's boxes, ticks,
// labels, cells and curves lie, for comparing two painters' layouts.
#include <cstdio>
#include <string>
#include <vector>

#include "view/page/PageCanvas.h"

class PageRecorder : public PageCanvas {
 public:
  explicit PageRecorder(const TextMeasure& measure) : measure_(measure) {}

  const TextMeasure& Measure() const override { return measure_; }
  const std::string& Lines() const { return lines_; }

  void StrokeLine(ChartPoint from, ChartPoint to, Rgb, double width) override {
    Add("line", {from.x, from.y, to.x, to.y, width});
  }
  void StrokeBox(const PageBox& box, Rgb, double width) override { Add("frame", Numbers(box, width)); }
  void StrokeRing(ChartPoint centre, double radius, Rgb, double width) override {
    Add("ring", {centre.x, centre.y, radius, width});
  }
  void StrokeCurve(const std::vector<ChartPoint>& points, Rgb, double width, const PageBox& clip) override {
    std::vector<double> numbers = Numbers(clip, width);
    for (const ChartPoint& point : points) numbers.insert(numbers.end(), {point.x, point.y});
    Add("curve", numbers);
  }
  void FillBox(const PageBox& box, Rgb) override { Add("fill", Numbers(box, 0.0)); }
  void FillPolygon(const std::vector<ChartPoint>& corners, Rgb) override {
    std::vector<double> numbers;
    for (const ChartPoint& corner : corners) numbers.insert(numbers.end(), {corner.x, corner.y});
    Add("polygon", numbers);
  }
  // A text's box as the layout measured it, and where its cut falls.
  void ShowText(const TextStyle& style, double left, double baseline, const std::string& text,
                double maxWidth) override {
    const TextSize size = measure_.Measure(text, style);
    Add("text", {style.size, left, baseline - size.baseline, size.width, size.height, maxWidth}, text);
  }
  void ShowTextUpward(const TextStyle& style, double x, double y, const std::string& text) override {
    const TextSize size = measure_.Measure(text, style);
    Add("upward", {style.size, x, y, size.width, size.height}, text);
  }

 private:
  static std::vector<double> Numbers(const PageBox& box, double width) {
    return {box.left, box.top, box.width, box.height, width};
  }
  void Add(const char* kind, const std::vector<double>& numbers, const std::string& text = "") {
    lines_ += kind;
    for (const double number : numbers) {
      char field[32];
      std::snprintf(field, sizeof field, " %.2f", number);
      lines_ += field;
    }
    lines_ += text.empty() ? "\n" : " | " + text + "\n";
  }

  const TextMeasure& measure_;
  std::string lines_;
};
