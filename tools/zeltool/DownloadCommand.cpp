// zeltool download: the altimeter's flight memory into one data file per
// flight, with a CSV beside each when asked. A download cut short keeps the
// flights it read in full and writes nothing of the rest. Flight files of an
// earlier download in the folder would mix with the new ones unnoticed, so
// the download refuses such a folder unless told to write over them.
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/DownloadProgress.h"
#include "tools/zeltool/FlightFiles.h"
#include "tools/zeltool/JsonText.h"

namespace {

const char kUsage[] = "download DIR [--csv] [--overwrite] [--json]";

struct DownloadRequest {
  std::filesystem::path folder;
  bool csv = false;
  bool overwrite = false;
  bool json = false;
};

// What a download that reached the altimeter's memory left in the folder.
struct DownloadResult {
  bool complete = false;  // every flight of the memory read and written
  int flights = 0;        // written in full
  int blocks = 0;         // read
  std::vector<std::filesystem::path> written;
  std::vector<std::filesystem::path> leftOver;  // an earlier download's flight files not written over
};

// DIR, then each option at most once, in any order.
bool ParseArgs(const ZeltoolArgs& args, DownloadRequest& request) {
  if (args.empty()) return false;
  request.folder = ArgPath(args[0]);
  for (size_t i = 1; i < args.size(); ++i) {
    bool* option = args[i] == L"--csv"         ? &request.csv
                   : args[i] == L"--overwrite" ? &request.overwrite
                   : args[i] == L"--json"      ? &request.json
                                               : nullptr;
    if (option == nullptr || *option) return false;
    *option = true;
  }
  return true;
}

// The flight files already in the folder, in `earlier`. False after a line
// on io.err when the folder cannot be used, or holds some and --overwrite
// was not given.
bool CheckFolder(const DownloadRequest& request, std::vector<std::filesystem::path>& earlier, ZeltoolIo& io) {
  std::error_code error;
  earlier = FlightFilesIn(request.folder, error);
  const std::string folder = PathText(request.folder);
  if (error) {
    io.err << "zeltool: the folder " << folder << " cannot be used: " << error.message() << '\n';
    return false;
  }
  if (earlier.empty() || request.overwrite) return true;
  io.err << "zeltool: " << folder << " already holds " << NameList(earlier)
         << " of an earlier download, which the new flights would mix with; choose another folder, or give "
            "--overwrite to write over them\n";
  return false;
}

// A download that failed was cut inside its last set, or at its end where the
// set might have gone on: only the sets before it are whole.
int CompleteSets(const AltimeterLink& link, int readResult) {
  const int sets = link.CountSets();
  return readResult == 0 ? sets : std::max(0, sets - 1);
}

bool WriteFlightFile(AltimeterLink& link, const DownloadRequest& request, int set, const char* extension,
                     DownloadResult& result, ZeltoolIo& io) {
  const std::filesystem::path file = FlightFile(request.folder, set, extension);
  const bool written = std::string(extension) == ".zel" ? link.SaveDataSet(file, set) : link.ExportCsv(file, set);
  if (!written) {
    io.err << "zeltool: " << PathText(file) << " cannot be written\n";
    return false;
  }
  result.written.push_back(file);
  if (!request.json) io.out << "wrote " << PathText(file) << '\n';
  return true;
}

// The first `count` flights. False after a line on io.err at the first file
// that cannot be written.
bool WriteFlights(AltimeterLink& link, const DownloadRequest& request, int count, DownloadResult& result,
                  ZeltoolIo& io) {
  std::error_code error;
  std::filesystem::create_directories(request.folder, error);
  if (error) {
    io.err << "zeltool: the folder " << PathText(request.folder) << " cannot be made\n";
    return false;
  }
  for (int set = 0; set < count; ++set) {
    if (!WriteFlightFile(link, request, set, ".zel", result, io)) return false;
    if (request.csv && !WriteFlightFile(link, request, set, ".csv", result, io)) return false;
    ++result.flights;
  }
  return true;
}

std::string FlightCount(int count) {
  return std::to_string(count) + (count == 1 ? " flight" : " flights");
}

void ReportCutShort(AltimeterLink& link, HidBackend& backend, int readResult, int kept, ZeltoolIo& io) {
  io.err << "zeltool: the download stopped after " << link.packets.size() << " blocks: "
         << DescribeDeviceFailure(readResult, backend, link.device.path) << "; "
         << (kept == 0 ? std::string("no flight was read in full") : "kept the " + FlightCount(kept) + " read in full")
         << '\n';
}

void WarnOfLeftOver(const DownloadRequest& request, const DownloadResult& result, ZeltoolIo& io) {
  if (result.leftOver.empty()) return;
  io.err << "zeltool: warning: " << PathText(request.folder) << " still holds " << NameList(result.leftOver)
         << " of an earlier download, which this download did not write\n";
}

std::string JsonPaths(const std::vector<std::filesystem::path>& files) {
  std::vector<std::string> paths;
  for (const std::filesystem::path& file : files) paths.push_back(JsonString(PathText(file)));
  return JsonArray(paths);
}

void WriteSummary(const DownloadRequest& request, const DownloadResult& result, ZeltoolIo& io) {
  if (request.json) {
    io.out << JsonObject({JsonMember("complete", JsonBool(result.complete)),
                          JsonMember("flights", std::to_string(result.flights)),
                          JsonMember("blocks", std::to_string(result.blocks)),
                          JsonMember("files", JsonPaths(result.written)),
                          JsonMember("leftOver", JsonPaths(result.leftOver))})
           << '\n';
  } else if (result.complete) {
    io.out << FlightCount(result.flights) << " in " << result.blocks << " blocks\n";
  }
}

// Reads the memory and writes its whole flights; says on io.err what went
// wrong, and which of the `earlier` flight files it left beside them.
DownloadResult Download(AltimeterLink& link, const ZeltoolDevices& devices, const DownloadRequest& request,
                        const std::vector<std::filesystem::path>& earlier, ZeltoolIo& io) {
  DownloadProgress progress(io.err, devices.progressIsTerminal);
  const int readResult = link.ReadData(&DownloadProgress::OnProgress, &progress);
  progress.Finish(readResult == 0);
  DownloadResult result;
  result.blocks = static_cast<int>(link.packets.size());
  const int whole = CompleteSets(link, readResult);
  const bool written = (readResult != 0 && whole == 0) || WriteFlights(link, request, whole, result, io);
  result.leftOver = FilesNotWritten(earlier, result.written);
  WarnOfLeftOver(request, result, io);
  if (written && readResult != 0) ReportCutShort(link, devices.backend, readResult, whole, io);
  result.complete = written && readResult == 0;
  return result;
}

int RunDownload(const ZeltoolArgs& args, ZeltoolIo& io) {
  DownloadRequest request;
  if (!ParseArgs(args, request)) return ZeltoolUsageError(io, kUsage);
  std::vector<std::filesystem::path> earlier;
  if (!CheckFolder(request, earlier, io)) return kZeltoolFailure;
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  AltimeterLink link(devices->backend);
  if (!ConnectToAltimeter(link, devices->backend, io) ||
      ReadDeviceSettings(link, devices->backend, io) == SettingsRead::Failed) {
    return kZeltoolFailure;
  }
  const DownloadResult result = Download(link, *devices, request, earlier, io);
  WriteSummary(request, result, io);
  return result.complete ? kZeltoolSuccess : kZeltoolFailure;
}

const ZeltoolCommandRegistration downloadCommand{
    {"download", kUsage,
     "the altimeter's flights into DIR as flight-1.zel, flight-2.zel, ... (and flight-N.csv with --csv); refuses a "
     "DIR holding flight files unless --overwrite",
     RunDownload}};

}  // namespace
