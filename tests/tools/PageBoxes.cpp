// Lists what a flight's report, or a comparison of flights, draws where,
// laid out with this build's text measure (Pango natively, GDI on Windows),
// so that a script can hold the two builds' pages to one layout:
//   page_boxes report FILE.zel
//   page_boxes compare FILE.zel...
#include <iostream>
#include <string>
#include <vector>

#include "base/DebugLog.h"
#include "tools/PageRecorder.h"
#include "tools/zeltool/FileFlight.h"
#include "view/page/PageFiles.h"

namespace {

bool ReadFlight(const char* file, FileFlight& flight) {
  const std::string name = file;
  ZeltoolIo io{std::cout, std::cerr};
  return ReadFileFlight(std::wstring(name.begin(), name.end()), 0, flight, io);
}

bool RecordReport(const char* file, PageRecorder& page) {
  FileFlight flight;
  if (!ReadFlight(file, flight)) return false;
  PaintReport(page, ReportOf(flight.name, flight.comment, 0, flight.set, flight.stats, UnitSystem::Metric), kA4Page);
  return true;
}

bool RecordComparison(const std::vector<const char*>& files, PageRecorder& page) {
  ComparisonContent comparison;
  std::vector<ComparedSeries> series;
  for (size_t i = 0; i < files.size() && i < kMostComparedFlights; ++i) {
    FileFlight flight;
    if (!ReadFlight(files[i], flight)) return false;
    series.push_back(CompareFlight(flight.set, flight.stats, UnitSystem::Metric, ComparisonPalette()[i]));
    comparison.flights.push_back(ComparedFlightOf(flight.name, flight.comment, flight.stats, UnitSystem::Metric));
  }
  comparison.chart = ComparisonChart(series, UnitSystem::Metric);
  PaintComparison(page, comparison);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::ostream out(std::cout.rdbuf());  // DebugLog is std::cout: the list keeps its buffer
  const RedirectedDebugLog silenced;  // reading a file logs its steps
  const std::string page = argc > 2 ? argv[1] : "";
  PageRecorder recorder(PageFileTextMeasure());
  const bool recorded = page == "report"    ? argc == 3 && RecordReport(argv[2], recorder)
                        : page == "compare" ? RecordComparison({argv + 2, argv + argc}, recorder)
                                            : false;
  if (!recorded) {
    std::cerr << "usage: page_boxes report FILE.zel | page_boxes compare FILE.zel...\n";
    return 1;
  }
  out << recorder.Lines();
  return 0;
}
