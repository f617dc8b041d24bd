#pragma once
// Strokes and prints a scene of the graph onto a device context with GDI+:
// each series in one polyline (the data set view's as thin GDI lines at
// 96 DPI), labels in Arial, pens and font as large as the scene's style says.
// Pens, brushes and the font live for one drawing.
#include <windows.h>

#include <cstdint>

#include "view/GraphScene.h"

// How far from its line a pen of `width` pixels sets pixels, joints and ends
// included: half its width reaches one pixel beyond the line; one more to spare.
constexpr int32_t StrokeReach(float width) { return static_cast<int32_t>(width / 2) + 1; }

// How each series is stroked: the program draws the live trace's as one path
// and the data set view's as thin polylines (ThinPolylines.h, that view only,
// for its 2-pixel pen at 96 DPI; wider pens as one path).
// One path is the reference the thin polylines are held against, segment by
// segment the one its joints are.
enum class SeriesStroke { OnePath, SegmentBySegment, ThinPolylines };

void PaintDataSetScene(HDC dc, const DataSetScene& scene, SeriesStroke stroke = SeriesStroke::ThinPolylines);
void PaintLiveScene(HDC dc, const LiveScene& scene, SeriesStroke stroke = SeriesStroke::OnePath);

// The live scene in two layers, as PaintLiveScene draws it in one go: the
// ground line and the samples, and the labels over them.
void PaintLiveLayer(HDC dc, const LiveScene& scene);
// The ground line and the samples from point `first` on, inside `area` only.
void PaintLiveLayerArea(HDC dc, const LiveScene& scene, const RECT& area, size_t first);
void PaintLabels(HDC dc, const std::vector<GraphLabel>& labels, const SceneStyle& style);
// The pixels that printing `label` may touch.
RECT LabelBounds(HDC dc, const GraphLabel& label, const SceneStyle& style);
