// zeltool's commands on data set files: info, csv and xml. The exports use
// the program's own writers, so they are the very bytes the program writes.
#include <filesystem>
#include <string>

#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/CommandTable.h"
#include "tools/zeltool/FileLink.h"
#include "tools/zeltool/FlightSummary.h"

namespace {

int RunInfo(const ZeltoolArgs& args, ZeltoolIo& io) {
  if (args.size() != 1) return ZeltoolUsageError(io, "info FILE.zel");
  FileLink files;
  AltimeterLink& link = files.link;
  if (!LoadOrExplain(link, args[0], io)) return kZeltoolFailure;
  const int32_t sets = link.CountSets();
  io.out << NarrowText(args[0]) << ": " << sets << (sets == 1 ? " set\n" : " sets\n");
  for (int32_t n = 0; n < sets; ++n) {
    link.ComputeDataSet(n);
    const auto lock = link.LockData();
    const std::string* comment = static_cast<size_t>(n) < link.comments.size() ? &link.comments[n] : nullptr;
    WriteFlightSummary(io.out, link.currentSet, SummarizeFlight(link.currentSet), comment);
  }
  return kZeltoolSuccess;
}

// csv and xml: FILE OUT [--set N], set 0 when not given.
using Exporter = bool (AltimeterLink::*)(const std::filesystem::path& path, int setNumber);

int RunExport(const ZeltoolArgs& args, ZeltoolIo& io, const std::string& usage, Exporter exporter) {
  int setNumber = 0;
  const bool withSet = args.size() == 4 && args[2] == L"--set" && ParseCount(args[3], setNumber);
  if (args.size() != 2 && !withSet) return ZeltoolUsageError(io, usage);
  FileLink files;
  AltimeterLink& link = files.link;
  if (!LoadOrExplain(link, args[0], io)) return kZeltoolFailure;
  if (!HasSetOrExplain(link, args[0], setNumber, io)) return kZeltoolFailure;
  if (!(link.*exporter)(ArgPath(args[1]), setNumber)) {
    io.err << "zeltool: " << NarrowText(args[1]) << " cannot be written\n";
    return kZeltoolFailure;
  }
  return kZeltoolSuccess;
}

const char kCsvUsage[] = "csv FILE.zel OUT.csv [--set N]";
const char kXmlUsage[] = "xml FILE.zel OUT.xml [--set N]";

int RunCsv(const ZeltoolArgs& args, ZeltoolIo& io) { return RunExport(args, io, kCsvUsage, &AltimeterLink::ExportCsv); }
int RunXml(const ZeltoolArgs& args, ZeltoolIo& io) { return RunExport(args, io, kXmlUsage, &AltimeterLink::ExportXml); }

const ZeltoolCommandRegistration info{
    {"info", "info FILE.zel",
     "the sets in a data set file: samples, duration, apogee, top speed, when the lines fired, comment", RunInfo}};
const ZeltoolCommandRegistration csv{
    {"csv", kCsvUsage, "export set N (0 when not given) as CSV, exactly as the program does", RunCsv}};
const ZeltoolCommandRegistration xml{
    {"xml", kXmlUsage, "export set N (0 when not given) as XML, exactly as the program does", RunXml}};

}  // namespace
