// zeltool report: one page for a flyer to print or post, with a flight's
// chart and statistics, in the formats this build writes (PDF, PNG or SVG
// natively; PNG or EMF on Windows).
#include <string>

#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/CommandTable.h"
#include "tools/zeltool/FileFlight.h"
#include "tools/zeltool/PageArgs.h"
#include "view/page/PageFiles.h"

namespace {

const std::string kReportUsage = "report FILE.zel " + PageOutputWords() + " [--set N] [--units m|ft] [--paper a4|letter]";

struct ReportRequest {
  std::wstring file;
  std::wstring output;
  PageFormat format = PageFormat::Pdf;
  int setNumber = 0;
  UnitSystem units = UnitSystem::Metric;
  PageSize paper = kA4Page;
};

bool ParsePaper(const std::wstring& word, PageSize& paper) {
  if (word != L"a4" && word != L"letter") return false;
  paper = word == L"a4" ? kA4Page : kLetterPage;
  return true;
}

bool ParseReportArgs(const ZeltoolArgs& args, ReportRequest& request) {
  if (args.size() < 2 || args.size() % 2 != 0 || !ParsePageFormat(args[1], request.format)) return false;
  request.file = args[0];
  request.output = args[1];
  for (size_t i = 2; i < args.size(); i += 2) {
    const std::wstring& value = args[i + 1];
    const bool parsed = args[i] == L"--set"     ? ParseCount(value, request.setNumber)
                        : args[i] == L"--units" ? ParseUnitSystem(value, request.units)
                        : args[i] == L"--paper" ? ParsePaper(value, request.paper)
                                                : false;
    if (!parsed) return false;
  }
  return true;
}

int RunReport(const ZeltoolArgs& args, ZeltoolIo& io) {
  ReportRequest request;
  if (!ParseReportArgs(args, request)) return ZeltoolUsageError(io, kReportUsage);
  FileFlight flight;
  if (!ReadFileFlight(request.file, request.setNumber, flight, io)) return kZeltoolFailure;
  const ReportContent report =
      ReportOf(flight.name, flight.comment, PageTime(), flight.set, flight.stats, request.units);
  const auto write = [&](std::ostream& out) { return WriteReportPage(report, request.paper, request.format, out); };
  return WritePageFile(request.output, write, io) ? kZeltoolSuccess : kZeltoolFailure;
}

const ZeltoolCommandRegistration report{
    {"report", kReportUsage,
     "one page of set N (0 when not given): its altitude and velocity chart with the launch, burn-out, apogee, "
     "firings, landing and fitted top speed marked, and its statistics; on A4 (default) or letter, a PNG at 150 dpi",
     RunReport}};

}  // namespace
