#include "view/page/PageCanvas.h"

namespace {

constexpr TextStyle kTitleText{18.0, true, {0, 0, 0}};
constexpr TextStyle kMadeAtText{8.5, false, {90, 90, 90}};

}  // namespace

void ShowAlignedText(PageCanvas& canvas, const TextStyle& style, double x, double baseline, const std::string& text,
                     TextAlign align) {
  const double share = align == TextAlign::Left ? 0.0 : align == TextAlign::Centre ? 0.5 : 1.0;
  const double width = share == 0.0 ? 0.0 : canvas.Measure().Measure(text, style).width;
  canvas.ShowText(style, x - share * width, baseline, text);
}

void ShowTextFrom(PageCanvas& canvas, const TextStyle& style, double left, double top, const std::string& text) {
  canvas.ShowText(style, left, top + canvas.Measure().Measure(text, style).baseline, text);
}

void ShowPageTitle(PageCanvas& canvas, double left, double right, double baseline, const std::string& title,
                   std::time_t made) {
  canvas.ShowText(kTitleText, left, baseline, title);
  ShowAlignedText(canvas, kMadeAtText, right, baseline, "made " + MadeAtText(made), TextAlign::Right);
}

std::string MadeAtText(std::time_t made) {
  char text[32] = "";
  const std::tm* local = std::localtime(&made);
  if (local != nullptr) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", local);
  return text;
}
