#pragma once
// Draws a chart where its layout puts it: the grid at the time and left
// ticks, the frame with its ticks and their values, each axis' title in its
// colour, the curves inside the frame, and the events' rings and labels.
// The report and the comparison both draw their charts with it. Native
// builds only (cairo).
#include <cairo.h>

#include "view/cairo/ChartLayout.h"

void PaintChart(cairo_t* cairo, const ChartSpec& chart, const ChartLayout& layout);
