// zeltool compare: up to eight flights' altitudes above their launch sites,
// from their launches, on one page.
#include <string>
#include <vector>

#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/CommandTable.h"
#include "tools/zeltool/FileFlight.h"
#include "tools/zeltool/PageArgs.h"
#include "view/page/PageFiles.h"

namespace {

const std::string kCompareUsage = "compare " + PageOutputWords() + " FLIGHT... [--units m|ft]";

struct FlightWord {
  std::wstring file;
  int setNumber = 0;
};

struct CompareRequest {
  std::wstring output;
  PageFormat format = PageFormat::Pdf;
  std::vector<FlightWord> flights;
  UnitSystem units = UnitSystem::Metric;
};

// "FILE.zel" (set 0) or "FILE.zel:N"; a colon not followed by a count is part
// of the name (C:\flights\a.zel).
FlightWord ParseFlightWord(const std::wstring& word) {
  const size_t colon = word.rfind(L':');
  int set = 0;
  if (colon != std::wstring::npos && ParseCount(word.substr(colon + 1), set)) return {word.substr(0, colon), set};
  return {word, 0};
}

bool ParseCompareArgs(const ZeltoolArgs& args, CompareRequest& request) {
  if (args.empty() || !ParsePageFormat(args[0], request.format)) return false;
  request.output = args[0];
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == L"--units") {
      if (++i == args.size() || !ParseUnitSystem(args[i], request.units)) return false;
    } else if (args[i].compare(0, 2, L"--") == 0) {
      return false;
    } else {
      request.flights.push_back(ParseFlightWord(args[i]));
    }
  }
  return !request.flights.empty();
}

// Every flight read, or false after the first one that cannot be.
bool ReadComparison(const CompareRequest& request, ComparisonContent& comparison, ZeltoolIo& io) {
  std::vector<ComparedSeries> series;
  for (size_t i = 0; i < request.flights.size(); ++i) {
    FileFlight flight;
    if (!ReadFileFlight(request.flights[i].file, request.flights[i].setNumber, flight, io)) return false;
    series.push_back(CompareFlight(flight.set, flight.stats, request.units, ComparisonPalette()[i]));
    comparison.flights.push_back(ComparedFlightOf(flight.name, flight.comment, flight.stats, request.units));
  }
  comparison.chart = ComparisonChart(series, request.units);
  comparison.made = PageTime();
  return true;
}

int RunCompare(const ZeltoolArgs& args, ZeltoolIo& io) {
  CompareRequest request;
  if (!ParseCompareArgs(args, request)) return ZeltoolUsageError(io, kCompareUsage);
  if (request.flights.size() > kMostComparedFlights) {
    io.err << "zeltool: compare takes at most " << kMostComparedFlights << " flights (" << request.flights.size()
           << " given)\n";
    return kZeltoolUsageError;
  }
  ComparisonContent comparison;
  if (!ReadComparison(request, comparison, io)) return kZeltoolFailure;
  const auto write = [&](std::ostream& out) { return WriteComparisonPage(comparison, request.format, out); };
  return WritePageFile(request.output, write, io) ? kZeltoolSuccess : kZeltoolFailure;
}

const ZeltoolCommandRegistration compare{
    {"compare", kCompareUsage,
     "up to 8 flights' altitudes above their launch sites against the time since launch, one colour each, with "
     "their apogees, flight times and top speeds, on an A4 landscape page (PNG at 150 dpi); FLIGHT is FILE.zel "
     "(set 0) or FILE.zel:N",
     RunCompare}};

}  // namespace
