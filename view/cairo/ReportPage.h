#pragma once
// A flight's report on one page: what was flown and when the report was
// made, the chart of its altitude and velocity with its events marked, and
// its statistics as a table. Native builds only (cairo).
#include <ctime>
#include <ostream>
#include <string>
#include <vector>

#include "data/FlightStatRows.h"
#include "view/cairo/ChartLayout.h"
#include "view/cairo/PageOutput.h"

struct ReportContent {
  std::string flight;   // "sample-flight.zel, set 0"
  std::string comment;  // may be empty
  std::time_t made;     // when the report was made
  ChartSpec chart;
  std::vector<StatRow> rows;
};

// Where the chart lies on the page, and how it maps its values there.
ChartLayout ReportChartLayout(const ReportContent& report, PageSize page);

// The report, written as WritePage writes (same results). Every text must be
// well-formed UTF-8.
bool WriteReport(const ReportContent& report, PageSize page, PageFormat format, std::ostream& out);
