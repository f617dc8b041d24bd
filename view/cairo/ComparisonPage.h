#pragma once
// Flights compared on one page: their altitudes in one chart with their
// apogees marked, and a legend that gives each curve's colour, flight,
// apogee, flight time, top speed and comment. Native builds only (cairo).
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "view/cairo/ChartLayout.h"
#include "view/cairo/PageOutput.h"

// A landscape A4 page, as a comparison's chart is wide.
constexpr PageSize kComparisonPage = Landscape(kA4Page);

struct ComparedFlight {
  std::string name;     // "sample-flight.zel, set 0"
  std::string comment;  // may be empty
  std::string apogee;   // "apogee 297.4 m"
  std::string flightTime;  // "flight time 45.3 s"; may be empty
  std::string topSpeed;    // "top speed 89.2 m/s"; may be empty
  std::string note;     // "no launch found: from its first sample"; may be empty
};

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
