// zeltool download: the altimeter's flight memory into one data file per
// flight, with a CSV beside each when asked. A download cut short keeps the
// flights it read in full and writes nothing of the rest.
#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

#include "device/DeviceCode.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"

namespace {

const char kUsage[] = "download DIR [--csv]";
constexpr int kBarWidth = 32;

struct DownloadRequest {
  std::filesystem::path folder;
  bool csv = false;
};

bool ParseArgs(const ZeltoolArgs& args, DownloadRequest& request) {
  if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != L"--csv")) return false;
  request.folder = args[0];
  request.csv = args.size() == 2;
  return true;
}

// Each block as it is kept: a bar redrawn in place on a terminal, a line
// otherwise, so that a log shows how far a download came.
class DownloadProgress {
 public:
  DownloadProgress(std::ostream& out, bool terminal) : out_(out), terminal_(terminal) {}

  static void OnProgress(void* context, int block, bool inBlock, bool) {
    if (!inBlock) static_cast<DownloadProgress*>(context)->Show(block + 1);
  }

  // Ends the bar's line, so what follows starts on a line of its own.
  void Finish() {
    if (terminal_ && shown_) out_ << '\n' << std::flush;
  }

 private:
  void Show(int blocks) {
    shown_ = true;
    if (!terminal_) {
      out_ << "read block " << blocks << " of at most " << kMemoryBlocks << '\n';
      return;
    }
    const int filled = blocks * kBarWidth / kMemoryBlocks;
    out_ << "\rreading [" << std::string(filled, '#') << std::string(kBarWidth - filled, '.') << "] " << blocks
         << '/' << kMemoryBlocks << " blocks" << std::flush;
  }

  std::ostream& out_;
  const bool terminal_;
  bool shown_ = false;
};

// A download that failed was cut inside its last set, or at its end where the
// set might have gone on: only the sets before it are whole.
int CompleteSets(const AltimeterLink& link, int readResult) {
  const int sets = link.CountSets();
  return readResult == 0 ? sets : std::max(0, sets - 1);
}

std::filesystem::path FlightFile(const std::filesystem::path& folder, int set, const char* extension) {
  return folder / ("flight-" + std::to_string(set + 1) + extension);
}

bool WriteFile(bool written, const std::filesystem::path& path, ZeltoolIo& io) {
  const std::string name = NarrowText(path.wstring());
  if (!written) {
    io.err << "zeltool: " << name << " cannot be written\n";
    return false;
  }
  io.out << "wrote " << name << '\n';
  return true;
}

bool WriteFlight(AltimeterLink& link, const DownloadRequest& request, int set, ZeltoolIo& io) {
  const std::filesystem::path data = FlightFile(request.folder, set, ".zel");
  if (!WriteFile(link.SaveDataSet(data.wstring(), set), data, io)) return false;
  if (!request.csv) return true;
  const std::filesystem::path csv = FlightFile(request.folder, set, ".csv");
  return WriteFile(link.ExportCsv(csv.wstring(), set), csv, io);
}

bool WriteFlights(AltimeterLink& link, const DownloadRequest& request, int count, ZeltoolIo& io) {
  std::error_code error;
  std::filesystem::create_directories(request.folder, error);
  if (error) {
    io.err << "zeltool: the folder " << NarrowText(request.folder.wstring()) << " cannot be made\n";
    return false;
  }
  for (int set = 0; set < count; ++set) {
    if (!WriteFlight(link, request, set, io)) return false;
  }
  return true;
}

std::string FlightCount(int count) {
  return std::to_string(count) + (count == 1 ? " flight" : " flights");
}

int ReportFailure(AltimeterLink& link, HidBackend& backend, int readResult, int kept, ZeltoolIo& io) {
  io.err << "zeltool: the download stopped after " << link.packets.size() << " blocks: "
         << DescribeDeviceFailure(readResult, backend, link.device.path) << "; "
         << (kept == 0 ? std::string("no flight was read in full") : "kept the " + FlightCount(kept) + " read in full")
         << '\n';
  return kZeltoolFailure;
}

int RunDownload(const ZeltoolArgs& args, ZeltoolIo& io) {
  DownloadRequest request;
  if (!ParseArgs(args, request)) return ZeltoolUsageError(io, kUsage);
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  AltimeterLink link(devices->backend);
  if (!ConnectToAltimeter(link, devices->backend, io)) return kZeltoolFailure;
  if (!ReadDeviceSettings(link, devices->backend, io)) return kZeltoolFailure;

  DownloadProgress progress(io.out, devices->outIsTerminal);
  const int result = link.ReadData(&DownloadProgress::OnProgress, &progress);
  progress.Finish();
  const int complete = CompleteSets(link, result);
  if ((result == 0 || complete > 0) && !WriteFlights(link, request, complete, io)) return kZeltoolFailure;
  if (result != 0) return ReportFailure(link, devices->backend, result, complete, io);
  io.out << FlightCount(complete) << " in " << link.packets.size() << " blocks\n";
  return kZeltoolSuccess;
}

const ZeltoolCommandRegistration downloadCommand{
    {"download", kUsage,
     "the altimeter's flights into DIR as flight-1.zel, flight-2.zel, ... (and flight-N.csv with --csv)",
     RunDownload}};

}  // namespace
