#pragma once
// Labels beside the points they name, none over another, over a curve or
// over another label's mark: a chart's events often come close together (a
// launch and its burn-out, an apogee and the line fired for it). Portable.
#include <vector>

#include "view/page/ChartLayout.h"

struct LabelRequest {
  ChartPoint anchor;  // on the page, in points; its mark is a ring of kMarkRadius
  double width = 0.0;
  double height = 0.0;
};

constexpr double kMarkRadius = 3.5;

// A curve on the page, its points in time order (x never decreasing).
using PageCurve = std::vector<ChartPoint>;

// The box each label takes, in the order asked: the place nearest its anchor
// that is clear of the labels placed before it and their leaders (a leader
// runs from an anchor to the nearest point of its box, and crosses no label
// either), of every anchor's mark and of `curves`: just beside it (above and to the right where there is room, else
// another corner), or moved up, down and across from it. Every box lies
// inside `area` when it fits there. A label with no clear place anywhere
// takes the nearest place clear of labels and marks (over a curve), else the
// nearest place of all.
std::vector<PageBox> PlaceLabels(const std::vector<LabelRequest>& labels, const PageBox& area,
                                 const std::vector<PageCurve>& curves = {});

// The point of `box` nearest `from`: where a leader from `from` meets it.
ChartPoint NearestPoint(const PageBox& box, const ChartPoint& from);

// Whether two boxes share more than an edge.
bool Overlap(const PageBox& a, const PageBox& b);

// Whether the segment from `a` to `b` touches `box`.
bool Crosses(const PageBox& box, const ChartPoint& a, const ChartPoint& b);
