#pragma once
// Strokes and prints a scene of the graph onto a device context with GDI+:
// each series in one polyline, labels in Arial 12 pt. Pens, brushes and the
// font live for one drawing.
#include <windows.h>

#include "view/GraphScene.h"

// Pen widths of the series, in pixels.
constexpr float kDataSetSeriesWidth = 2.0f;
constexpr float kLiveSeriesWidth = 3.0f;

// How each series is stroked: the program draws it as one path; segment by
// segment is the reference its joints are held against.
enum class SeriesStroke { OnePath, SegmentBySegment };

void PaintDataSetScene(HDC dc, const DataSetScene& scene, SeriesStroke stroke = SeriesStroke::OnePath);
void PaintLiveScene(HDC dc, const LiveScene& scene, SeriesStroke stroke = SeriesStroke::OnePath);
