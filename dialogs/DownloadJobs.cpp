#include "dialogs/DownloadJobs.h"

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"

namespace {

constexpr unsigned kBeforePacketCountMs = 100;

void ClearPackets(AltimeterLink& link) {
  const auto lock = link.LockData();
  link.packets.clear();
}

// The other buttons stay as the download left them until the next refresh.
void EndWithFailure(JobView& view, const wchar_t* line) {
  view.OfferRead();
  view.Say(line);
}

struct DownloadContext {
  AltimeterLink& link;
  JobView& view;
};

// The worker only asks for the live trace: a drawing never holds up the download.
void OnBlockProgress(void* context, int block, bool inBlock, bool setStart) {
  auto& [link, view] = *static_cast<DownloadContext*>(context);
  if (setStart) {
    link.fastSet.Reset();
  } else if (inBlock) {
    view.LiveSamplesRead();
  } else {
    view.Say(L"Packet Read: " + std::to_wstring(block));
    view.PacketsChanged();
    DebugLog << "Read Packet @ Address: " << block << std::endl;
  }
}

}  // namespace

void RunDownload(AltimeterLink& link, JobView& view) {
  view.ShowBusy();
  ClearPackets(link);
  view.PacketsChanged();
  view.Say(L"Attempting to connect to device.");
  if (!link.IsConnected()) return EndWithFailure(view, kAltimeterNotFound);
  view.Say(L"Altimeter found! Reading settings...");
  if (link.ReadSettings() < 0) return EndWithFailure(view, L"Failed to read settings.");
  // The device's own record converts this download and goes into its files.
  link.settings.ParseOrSetDefaults();
  view.Say(L"Settings read successfully.");
  view.Say(L"Reading data...");
  DownloadContext context{link, view};
  const int result = link.ReadData(OnBlockProgress, &context);
  DebugLog << "Canceling IO" << std::endl;
  if (result < 0) {
    if (result == kCommandCancelled) {
      ForgetDownload(link);
      link.fastSet.Reset();
    } else {
      view.OfferRead();
    }
    view.Say(L"Failed to read data.");
    return;
  }
  const size_t count = PacketCount(link);
  DebugLog << "Packets read: " << count << std::endl;
  view.Say(L"Data read successfully.");
  view.Pause(kBeforePacketCountMs);
  view.Say(L"Packets Read: " + std::to_wstring(count));
  if (count == 0) {
    link.fastSet.Reset();
    view.GraphChanged();
  }
  view.ShowIdle();
}

void RunMemoryClear(AltimeterLink& link, JobView& view) {
  if (!link.IsConnected()) {
    view.ShowIdle();
    view.Say(kAltimeterNotFound);
    return;
  }
  if (link.ClearData() < 0) {
    view.ShowIdle();
    view.Say(L"Failed to clear data.");
    return;
  }
  ClearPackets(link);
  view.PacketsChanged();
  view.Say(L"Data cleared successfully.");
  view.ShowIdle();
}

void ForgetDownload(AltimeterLink& link) {
  const auto lock = link.LockData();
  link.packets.clear();
  link.currentSet.Clear();
}

size_t PacketCount(const AltimeterLink& link) {
  const auto lock = link.LockData();
  return link.packets.size();
}
