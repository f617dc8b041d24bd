#pragma once
// Flights compared on one page: their altitudes in one chart with their
// apogees marked, and a legend that gives each curve's colour, flight,
// apogee, flight time, top speed and comment. Native builds only (cairo).
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "view/cairo/ChartLayout.h"
#include "view/cairo/FlightCharts.h"
#include "view/cairo/PageOutput.h"

// A landscape A4 page, as a comparison's chart is wide.
constexpr PageSize kComparisonPage = Landscape(kA4Page);


struct ComparisonContent {
  std::time_t made = 0;
  ChartSpec chart;     // curve i is flight i's
  std::vector<ComparedFlight> flights;
};

// Where the chart lies on the page, and how it maps its values there.
ChartLayout ComparisonChartLayout(const ComparisonContent& comparison);

// The comparison on kComparisonPage, written as WritePage writes (same
// results). Every text must be well-formed UTF-8.
bool WriteComparison(const ComparisonContent& comparison, PageFormat format, std::ostream& out);
