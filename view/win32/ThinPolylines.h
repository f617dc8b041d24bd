#pragma once
// A polyline as the 2-pixel GDI+ pen strokes it, drawn as 1-pixel GDI lines:
// within a pixel of the pen's picture in a small part of the time. Under Wine
// a wide pen's joins are merged into a region a segment at a time, some 10 us
// a point, while a 1-pixel line costs little more than its pixels.
#include <windows.h>

#include <vector>

#include "view/GraphMapping.h"

// Draws the polyline through `points` in `colour` over the pixels a 2-pixel
// GDI+ pen covers without anti-aliasing: the line's own pixels and those
// above them, and beside them those to the left, or to the right along a
// segment that rises to the right. Fewer than two points draw nothing.
void DrawThinPolylines(HDC dc, const std::vector<GraphPoint>& points, COLORREF colour);
