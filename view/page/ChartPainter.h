#pragma once
// Draws a chart where its layout puts it: the grid at the time and left
// ticks (which the right axis' ticks share), the frame with its ticks and
// their values, each axis' title in its colour, the legend above the frame,
// the curves inside the frame, and the marks (rings, cuts) with their
// labels. The report and the comparison both draw their charts with it.
// Portable.
#include "view/page/ChartLayout.h"
#include "view/page/PageCanvas.h"

void PaintChart(PageCanvas& canvas, const ChartSpec& chart, const ChartLayout& layout);
