#include "view/page/LabelPlacement.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kGap = 5.0;             // between a point and its label, points: past its mark
constexpr double kCurveClearance = 1.5;  // a curve's half width and a little air
constexpr double kMarkClearance = kMarkRadius + 1.0;
constexpr int kMostShifts = 40;  // half a label's height each, up and down, and kAcrossStep across
constexpr double kAcrossStep = 6.0;

// `box` moved inside `area` where it fits.
PageBox Inside(PageBox box, const PageBox& area) {
  box.left = std::max(area.left, std::min(box.left, area.Right() - box.width));
  box.top = std::max(area.top, std::min(box.top, area.Bottom() - box.height));
  return box;
}

PageBox Grown(const PageBox& box, double by) {
  return {box.left - by, box.top - by, box.width + 2 * by, box.height + 2 * by};
}

PageBox MarkBox(const ChartPoint& anchor) { return Grown({anchor.x, anchor.y, 0.0, 0.0}, kMarkClearance); }

// The leader's length.
double Reach(const ChartPoint& anchor, const PageBox& box) {
  const ChartPoint near = NearestPoint(box, anchor);
  return std::hypot(near.x - anchor.x, near.y - anchor.y);
}

// The places a label may take, nearest its anchor first; of places as near,
// above before below, right before left.
std::vector<PageBox> Candidates(const LabelRequest& label, const PageBox& area) {
  const double right = label.anchor.x + kGap, left = label.anchor.x - kGap - label.width;
  const double above = label.anchor.y - kGap - label.height, below = label.anchor.y + kGap;
  std::vector<PageBox> places;
  for (int down = 0; down <= kMostShifts; ++down) {
    const double by = down * label.height / 2.0;
    for (const double top : {above - by, below + by}) {
      for (int across = 0; across <= kMostShifts; ++across) {
        for (const double x : {right + across * kAcrossStep, left - across * kAcrossStep}) {
          places.push_back(Inside({x, top, label.width, label.height}, area));
        }
      }
    }
  }
  std::stable_sort(places.begin(), places.end(), [&](const PageBox& a, const PageBox& b) {
    return Reach(label.anchor, a) < Reach(label.anchor, b);
  });
  return places;
}

bool CrossesCurve(const PageBox& box, const PageCurve& curve) {
  if (curve.size() < 2) return false;  // no segment to cross
  const auto from = std::lower_bound(curve.begin(), curve.end(), box.left,
                                     [](const ChartPoint& point, double x) { return point.x < x; });
  for (auto it = from == curve.begin() ? from : from - 1; it + 1 < curve.end() && it->x <= box.Right(); ++it) {
    if (Crosses(box, *it, *(it + 1))) return true;
  }
  return false;
}

class Clearance {
 public:
  Clearance(const std::vector<LabelRequest>& labels, const std::vector<PageCurve>& curves)
      : labels_(labels), curves_(curves) {}

  // For the label after those `placed`: nor may its leader cross one of
  // them or another's mark, or its box their leaders.
  bool OfLabelsAndMarks(const PageBox& place, const std::vector<PageBox>& placed) const {
    const ChartPoint& anchor = labels_[placed.size()].anchor;
    const ChartPoint leaderEnd = NearestPoint(place, anchor);
    for (size_t i = 0; i < placed.size(); ++i) {
      const ChartPoint& other = labels_[i].anchor;
      if (Crosses(placed[i], anchor, leaderEnd) || Crosses(place, other, NearestPoint(placed[i], other))) return false;
    }
    const auto overlaps = [&](const PageBox& other) { return Overlap(place, other); };
    // A mark over this label's own anchor (one of a flight beside it) the leader leaves anyway.
    const auto covers = [&](const LabelRequest& label) {
      const PageBox mark = MarkBox(label.anchor);
      return Overlap(place, mark) || (!Crosses(mark, anchor, anchor) && Crosses(mark, anchor, leaderEnd));
    };
    return std::none_of(placed.begin(), placed.end(), overlaps) && std::none_of(labels_.begin(), labels_.end(), covers);
  }
  bool OfAll(const PageBox& place, const std::vector<PageBox>& placed) const {
    const PageBox reach = Grown(place, kCurveClearance);
    return OfLabelsAndMarks(place, placed) &&
           std::none_of(curves_.begin(), curves_.end(), [&](const PageCurve& c) { return CrossesCurve(reach, c); });
  }

 private:
  const std::vector<LabelRequest>& labels_;
  const std::vector<PageCurve>& curves_;
};

}  // namespace

ChartPoint NearestPoint(const PageBox& box, const ChartPoint& from) {
  return {std::clamp(from.x, box.left, box.Right()), std::clamp(from.y, box.top, box.Bottom())};
}

bool Overlap(const PageBox& a, const PageBox& b) {
  return a.left < b.Right() && b.left < a.Right() && a.top < b.Bottom() && b.top < a.Bottom();
}

// Liang and Barsky's clipping: the part of the segment within each edge's side.
bool Crosses(const PageBox& box, const ChartPoint& a, const ChartPoint& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double toward[] = {-dx, dx, -dy, dy};
  const double room[] = {a.x - box.left, box.Right() - a.x, a.y - box.top, box.Bottom() - a.y};
  double enter = 0.0, leave = 1.0;
  for (int edge = 0; edge < 4; ++edge) {
    if (toward[edge] == 0.0) {
      if (room[edge] < 0.0) return false;
    } else if (toward[edge] < 0.0) {
      enter = std::max(enter, room[edge] / toward[edge]);
    } else {
      leave = std::min(leave, room[edge] / toward[edge]);
    }
  }
  return enter <= leave;
}

std::vector<PageBox> PlaceLabels(const std::vector<LabelRequest>& labels, const PageBox& area,
                                 const std::vector<PageCurve>& curves) {
  const Clearance clearance(labels, curves);
  std::vector<PageBox> placed;
  for (const LabelRequest& label : labels) {
    const std::vector<PageBox> places = Candidates(label, area);
    const auto clearOf = [&](bool (Clearance::*test)(const PageBox&, const std::vector<PageBox>&) const) {
      return std::find_if(places.begin(), places.end(), [&](const PageBox& p) { return (clearance.*test)(p, placed); });
    };
    auto chosen = clearOf(&Clearance::OfAll);
    if (chosen == places.end()) chosen = clearOf(&Clearance::OfLabelsAndMarks);
    placed.push_back(chosen != places.end() ? *chosen : places.front());
  }
  return placed;
}
