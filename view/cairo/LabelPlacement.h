#pragma once
// Labels beside the points they name, none over another: a chart's events
// often come close together (a launch and its burn-out, an apogee and the
// line fired for it). Portable.
#include <vector>

#include "view/cairo/ChartLayout.h"

struct LabelRequest {
  ChartPoint anchor;  // on the page, in points
  double width = 0.0;
  double height = 0.0;
};

// The box each label takes, in the order asked: just beside its anchor
// (above and to the right where there is room, else another corner), or
// moved up or down from it until it overlaps no label placed before it. Every
// box lies inside `area` when it fits there. A label with no free place
// anywhere keeps its first place.
std::vector<PageBox> PlaceLabels(const std::vector<LabelRequest>& labels, const PageBox& area);

// Whether two boxes share more than an edge.
bool Overlap(const PageBox& a, const PageBox& b);
