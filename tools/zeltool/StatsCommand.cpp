// zeltool stats: the statistics of each flight (set) of data set files, as
// text, as a CSV logbook or as JSON. A file that cannot be read, or lacks the
// set asked for, costs one line on standard error; the other flights are
// still listed, and the exit status says that something failed.
#include <optional>
#include <string>
#include <vector>

#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/CommandTable.h"
#include "tools/zeltool/FileLink.h"
#include "tools/zeltool/StatsOutput.h"

namespace {

const char kStatsUsage[] = "stats FILE.zel... [--set N | --all] [--units m|ft] [--format text|csv|json]";

enum class StatsFormat { Text, Csv, Json };

struct StatsRequest {
  std::vector<std::wstring> files;
  std::optional<int> set;  // from 0, as the other commands count sets; every set when empty
  bool all = false;
  UnitSystem units = UnitSystem::Metric;
  StatsFormat format = StatsFormat::Text;
};

bool ParseSet(const std::wstring& word, StatsRequest& request) {
  int set = 0;
  if (request.set || !ParseCount(word, set)) return false;
  request.set = set;
  return true;
}

bool ParseUnits(const std::wstring& word, StatsRequest& request) { return ParseUnitSystem(word, request.units); }

bool ParseFormat(const std::wstring& word, StatsRequest& request) {
  if (word != L"text" && word != L"csv" && word != L"json") return false;
  request.format = word == L"text" ? StatsFormat::Text : word == L"csv" ? StatsFormat::Csv : StatsFormat::Json;
  return true;
}

// Options anywhere after the command; every other word names a file.
bool ParseStatsArgs(const ZeltoolArgs& args, StatsRequest& request) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::wstring& word = args[i];
    if (word == L"--all") {
      request.all = true;
      continue;
    }
    bool (*const parse)(const std::wstring&, StatsRequest&) = word == L"--set"      ? ParseSet
                                                              : word == L"--units"  ? ParseUnits
                                                              : word == L"--format" ? ParseFormat
                                                                                    : nullptr;
    if (parse != nullptr) {
      if (++i == args.size() || !parse(args[i], request)) return false;
    } else if (word.compare(0, 2, L"--") == 0) {
      return false;
    } else {
      request.files.push_back(word);
    }
  }
  return !request.files.empty() && !(request.all && request.set);
}

// The sets of the loaded file that the request names; none, after a
// line on io.err, when it holds no such set.
std::vector<int32_t> SetsToList(const AltimeterLink& link, const std::wstring& file, const StatsRequest& request,
                                ZeltoolIo& io) {
  const int32_t sets = link.CountSets();
  const int32_t wanted = request.set.value_or(0);
  if (wanted >= sets) {
    io.err << "zeltool: " << NarrowText(file) << " has no set " << wanted << " (it holds " << sets
           << (sets == 1 ? " set)\n" : " sets)\n");
    return {};
  }
  if (request.set) return {*request.set};
  std::vector<int32_t> all(static_cast<size_t>(sets));
  for (int32_t n = 0; n < sets; ++n) all[n] = n;
  return all;
}

// The flights of one file; false when the file or its set could not be read.
bool CollectFlights(const std::wstring& file, const StatsRequest& request, std::vector<FlightRecord>& flights,
                    ZeltoolIo& io) {
  FileLink files;
  AltimeterLink& link = files.link;
  if (!LoadOrExplain(link, file, io)) return false;
  const std::vector<int32_t> sets = SetsToList(link, file, request, io);
  for (const int32_t n : sets) {
    link.ComputeDataSet(n);
    const auto lock = link.LockData();
    const std::string comment = static_cast<size_t>(n) < link.comments.size() ? link.comments[n] : "";
    flights.push_back({NarrowText(file), n, comment, ComputeFlightStats(link.currentSet)});
  }
  return !sets.empty();
}

void WriteFlights(std::ostream& out, const std::vector<FlightRecord>& flights, const StatsRequest& request) {
  switch (request.format) {
    case StatsFormat::Text:
      return WriteStatsText(out, flights, request.units);
    case StatsFormat::Csv:
      return WriteStatsCsv(out, flights, request.units);
    case StatsFormat::Json:
      return WriteStatsJson(out, flights, request.units);
  }
}

int RunStats(const ZeltoolArgs& args, ZeltoolIo& io) {
  StatsRequest request;
  if (!ParseStatsArgs(args, request)) return ZeltoolUsageError(io, kStatsUsage);
  std::vector<FlightRecord> flights;
  bool allRead = true;
  for (const std::wstring& file : request.files) allRead = CollectFlights(file, request, flights, io) && allRead;
  // With nothing to list, standard output stays empty, as for any command that fails.
  if (!flights.empty()) WriteFlights(io.out, flights, request);
  return allRead ? kZeltoolSuccess : kZeltoolFailure;
}

const ZeltoolCommandRegistration stats{
    {"stats", kStatsUsage,
     "each flight's launch, burn-out, top speed, acceleration, apogee, line firings, descent rates and landing; "
     "every set unless --set N (from 0); metres or feet; text, a CSV logbook or JSON",
     RunStats}};

}  // namespace
