#pragma once
// A flight's report on one page: what was flown and when the report was
// made, the chart of its altitude and velocity with its events marked, and
// its statistics as a table. Portable: drawn on any page canvas.
#include <ctime>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/FlightStatRows.h"
#include "data/FlightStats.h"
#include "data/StatUnits.h"
#include "view/page/ChartLayout.h"
#include "view/page/PageCanvas.h"

struct ReportContent {
  std::string flight;   // "sample-flight.zel, set 0"
  std::string comment;  // may be empty
  std::time_t made;     // when the report was made
  ChartSpec chart;
  std::vector<StatRow> rows;
};

// The report of `set`, whose statistics are `stats`, in `units`.
ReportContent ReportOf(const std::string& flight, const std::string& comment, std::time_t made, const DataSet& set,
                       const FlightStats& stats, UnitSystem units);

// Where the chart lies on the page, and how it maps its values there, its
// texts measured with `measure`.
ChartLayout ReportChartLayout(const ReportContent& report, PageSize page, const TextMeasure& measure);

// The report on a page of size `page`. Every text must be well-formed UTF-8.
void PaintReport(PageCanvas& canvas, const ReportContent& report, PageSize page);
