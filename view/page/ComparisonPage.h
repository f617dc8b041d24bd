#pragma once
// Flights compared on one page: their altitudes in one chart with their
// apogees marked, and a legend that gives each curve's colour, flight,
// apogee, flight time, top speed and comment. Portable: drawn on any page
// canvas.
#include <ctime>
#include <vector>

#include "view/page/ChartLayout.h"
#include "view/page/FlightCharts.h"
#include "view/page/PageCanvas.h"

// A landscape A4 page, as a comparison's chart is wide.
constexpr PageSize kComparisonPage = Landscape(kA4Page);

struct ComparisonContent {
  std::time_t made = 0;
  ChartSpec chart;     // curve i is flight i's
  std::vector<ComparedFlight> flights;
};

// Where the chart lies on the page, and how it maps its values there, its
// texts measured with `measure`.
ChartLayout ComparisonChartLayout(const ComparisonContent& comparison, const TextMeasure& measure);

// The comparison on kComparisonPage. Every text must be well-formed UTF-8.
void PaintComparison(PageCanvas& canvas, const ComparisonContent& comparison);
