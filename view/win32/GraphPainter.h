#pragma once
// Strokes and prints a scene of the graph onto a device context with GDI+:
// each series in one polyline, labels in Arial 12 pt. Pens, brushes and the
// font live for one drawing.
#include <windows.h>

#include "view/GraphScene.h"

void PaintDataSetScene(HDC dc, const DataSetScene& scene);
void PaintLiveScene(HDC dc, const LiveScene& scene);
