#include "dialogs/UpdateJob.h"

#include <atomic>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "dialogs/UpdateReport.h"

namespace {

// Kept for the whole run: a later update shows 0% first.
std::atomic<int> lastProgressShown{0};

void OnUpdateProgress(void* context, int blockIndex, int lastBlockIndex) {
  const int percent = UpdatePercent(blockIndex, lastBlockIndex);
  DebugLog << percent << std::endl;
  int shown = lastProgressShown;
  const std::optional<int> decile = NextProgressDecile(percent, shown);
  lastProgressShown = shown;
  if (decile) static_cast<JobView*>(context)->Say(std::to_wstring(*decile) + L"%");
}

}  // namespace

void RunFirmwareUpdate(AltimeterLink& link, JobView& view, const std::filesystem::path& path) {
  if (!link.IsConnected()) {
    view.ShowIdle();
    view.Say(kAltimeterNotFound);
    return;
  }
  view.Say(L"Updating firmware...");
  UpdateVersions versions;
  const int result = link.UpdateFirmware(OnUpdateProgress, &view, path, &versions.fileFormat, &versions.hardware,
                                         &versions.bootloader, &versions.firmware);
  for (const std::wstring& line : UpdateResultLines(result, versions)) view.Say(line);
  view.ShowIdle();
  if (result < 0) view.Say(L"Failed to update firmware.");
}
