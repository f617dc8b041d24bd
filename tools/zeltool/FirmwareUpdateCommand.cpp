// zeltool firmware-update: a firmware file written to the altimeter started
// in its bootloader, by the program's own update; its progress on standard
// error in tens of per cent, its result in the Update Firmware dialog's words.
// The altimeter runs the new firmware once plugged in again normally.
#include <optional>
#include <string>
#include <vector>

#include "data/Version.h"
#include "dialogs/UpdateReport.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"

namespace {

const char kUsage[] = "firmware-update FILE.dat";

class UpdateProgress {
 public:
  UpdateProgress(std::ostream& err, bool terminal) : err_(err), terminal_(terminal) {}

  // A FirmwareProgressFn; `context` is the UpdateProgress.
  static void OnBlock(void* context, int blockIndex, int lastBlockIndex) {
    static_cast<UpdateProgress*>(context)->Show(UpdatePercent(blockIndex, lastBlockIndex));
  }

  // On a terminal the line is ended, so that what follows starts on its own.
  void Finish() {
    if (terminal_ && lastShown_ >= 0) err_ << '\n';
  }

 private:
  void Show(int percent) {
    const std::optional<int> decile = NextProgressDecile(percent, lastShown_);
    if (!decile) return;
    err_ << (terminal_ ? "\r" : "") << "firmware written: " << *decile << '%' << (terminal_ ? "" : "\n");
    err_.flush();
  }

  std::ostream& err_;
  const bool terminal_;
  int lastShown_ = -1;
};

std::string Version(uint16_t version) { return NarrowText(FormatVersion(version)); }

std::string DescribeConnectFailure(int result, uint16_t version, HidBackend& backend) {
  switch (result) {
    case -3:
      return "the altimeter's bootloader is " + Version(version) + "; this program talks to bootloader " +
             NarrowText(FormatVersionFamily(kBootloaderFamily)) + " only";
    case -2: return "the altimeter's bootloader cannot be opened, or does not answer";
    default: break;
  }
  const std::vector<HidDevice> running = FindHidDevices(backend, kAltimeterVendorId, kApplicationProductId, 0, 0);
  if (running.empty()) return "no altimeter found; is it plugged in?";
  return "the altimeter runs its firmware " + Version(running.front().versionNumber) +
         "; start it in bootloader mode to update it";
}

int RunFirmwareUpdate(const ZeltoolArgs& args, ZeltoolIo& io) {
  if (args.size() != 1) return ZeltoolUsageError(io, kUsage);
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  AltimeterLink link(devices->backend);
  uint16_t found = 0;
  const int connected = link.Connect(&found, true);
  if (connected != 1) {
    io.err << "zeltool: " << DescribeConnectFailure(connected, found, devices->backend) << '\n';
    return kZeltoolFailure;
  }
  UpdateProgress progress(io.err, devices->progressIsTerminal);
  UpdateVersions versions;
  const int result = link.UpdateFirmware(&UpdateProgress::OnBlock, &progress, ArgPath(args[0]), &versions.fileFormat,
                                         &versions.hardware, &versions.bootloader, &versions.firmware);
  progress.Finish();
  std::vector<std::wstring> lines = UpdateResultLines(result, versions);
  if (lines.empty()) lines.push_back(L"The device could not be opened.");
  for (const std::wstring& line : lines) {
    if (result == 0) {
      io.out << NarrowText(line) << '\n';
    } else {
      io.err << "zeltool: " << NarrowText(line) << '\n';
    }
  }
  return result == 0 ? kZeltoolSuccess : kZeltoolFailure;
}

const ZeltoolCommandRegistration firmwareUpdate{
    {"firmware-update", kUsage,
     "writes a firmware file to the altimeter started in bootloader mode; plug it in again to run the new firmware",
     RunFirmwareUpdate}};

}  // namespace
