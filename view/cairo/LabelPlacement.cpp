#include "view/cairo/LabelPlacement.h"

#include <algorithm>

namespace {

constexpr double kGap = 3.0;     // between a point and its label, points
constexpr int kMostShifts = 40;  // half a label's height each, up and down

// `box` moved inside `area` where it fits.
PageBox Inside(PageBox box, const PageBox& area) {
  box.left = std::max(area.left, std::min(box.left, area.Right() - box.width));
  box.top = std::max(area.top, std::min(box.top, area.Bottom() - box.height));
  return box;
}

// The places a label may take, best first.
std::vector<PageBox> Candidates(const LabelRequest& label) {
  const double right = label.anchor.x + kGap, left = label.anchor.x - kGap - label.width;
  const double above = label.anchor.y - kGap - label.height, below = label.anchor.y + kGap;
  std::vector<PageBox> places;
  for (const double top : {above, below}) {
    for (const double x : {right, left}) places.push_back({x, top, label.width, label.height});
  }
  for (int shift = 1; shift <= kMostShifts; ++shift) {
    const double by = shift * label.height / 2.0;
    places.push_back({right, above - by, label.width, label.height});
    places.push_back({right, below + by, label.width, label.height});
  }
  return places;
}

}  // namespace

bool Overlap(const PageBox& a, const PageBox& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

std::vector<PageBox> PlaceLabels(const std::vector<LabelRequest>& labels, const PageBox& area) {
  std::vector<PageBox> placed;
  for (const LabelRequest& label : labels) {
    std::vector<PageBox> places = Candidates(label);
    for (PageBox& place : places) place = Inside(place, area);
    const auto free = std::find_if(places.begin(), places.end(), [&](const PageBox& place) {
      return std::none_of(placed.begin(), placed.end(), [&](const PageBox& other) { return Overlap(place, other); });
    });
    placed.push_back(free != places.end() ? *free : places.front());
  }
  return placed;
}
