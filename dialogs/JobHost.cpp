#include "dialogs/JobHost.h"

#include "data/Version.h"
#include "device/AltimeterLink.h"

std::wstring SessionEndReason(JobKind kind) {
  switch (kind) {
    case JobKind::Download:
      return L"The altimeter's flights are being downloaded. Ending now loses them.";
    case JobKind::ClearMemory:
      return L"The altimeter's flight memory is being cleared.";
    case JobKind::ReadSettings:
      return L"The altimeter's settings are being read.";
    case JobKind::WriteSettings:
      return L"The altimeter's settings are being written. Cutting this leaves it without its settings.";
    case JobKind::Calibration:
      return L"The altimeter is being calibrated. Cutting this leaves it without its settings.";
    case JobKind::FirmwareUpdate:
      return L"The altimeter's firmware is being written. Cutting this leaves the altimeter unusable until it is "
             L"flashed again.";
    case JobKind::Bench:
      return L"A command is running on the altimeter.";
    case JobKind::Emulation:
      return L"A launch emulation is running on the altimeter.";
  }
  return {};
}

JobHost::JobHost(AltimeterLink& link, DialogSide& dialog, ConnectionMode mode)
    : link_(link), dialog_(dialog), mode_(mode) {}

namespace {

// What a dialog says of a connection in its mode.
struct ConnectionTexts {
  bool bootloader;
  const wchar_t* unopenable;
  // A device found only in the other mode; `incompatibleCounts`: even one of
  // an incompatible version.
  const wchar_t* otherMode;
  const wchar_t* otherModeAdvice;
  bool incompatibleCounts;
  const wchar_t* incompatible;
  const wchar_t* currentVersion;
  const wchar_t* requiredVersion;
  uint16_t family;
  const wchar_t* connected;
  const wchar_t* connectedVersion;
};

constexpr ConnectionTexts kApplicationTexts{
    false,
    L"Device found. Unable to connect to device.\r\n"
    L"Please ensure it is not being used by another application.\r\n"
    L"Removing the device and re-attaching it should correct this.",
    L"Device found, but is in bootloader mode.",
    L"Please reconnect the device.",
    false,
    L"Device found, but has incompatible firmware version.",
    L"Current device firmware version: ",
    L"Required device firmware version: ",
    kFirmwareFamily,
    L"Device Connected.",
    L"Current device firmware version: "};

constexpr ConnectionTexts kBootloaderTexts{
    true,
    L"Device found in bootloader mode. Unable to connect to device.\r\n"
    L"Please ensure it is not being used by another application.\r\n"
    L"Removing the device and re-attaching it should correct this.",
    L"Device found, but is not in bootloader mode.",
    L"Please reconnect the device in bootloader mode.",
    true,
    L"Device found in bootloader mode, but has incompatible bootloader version.",
    L"Current device bootloader version: ",
    L"Required device bootloader version: ",
    kBootloaderFamily,
    L"Device connected in bootloader mode.",
    L"Device bootloader version: "};

}  // namespace

void JobHost::ReportConnection() {
  const ConnectionTexts& texts = mode_ == ConnectionMode::Bootloader ? kBootloaderTexts : kApplicationTexts;
  uint16_t version = 0;
  const int result = link_.Connect(&version, texts.bootloader);
  if (result == -2) {
    dialog_.Say(texts.unopenable);
  } else if (result == -1) {
    ReportOtherMode(texts.bootloader, texts.incompatibleCounts, texts.otherMode, texts.otherModeAdvice);
  } else if (result == -3) {
    dialog_.Say(texts.incompatible);
    dialog_.Say(texts.currentVersion + FormatVersion(version));
    dialog_.Say(texts.requiredVersion + FormatVersion(texts.family));
  } else if (result >= 0) {
    dialog_.Say(texts.connected);
    dialog_.Say(texts.connectedVersion + FormatVersion(version));
    NoteDeviceHeld();
  }
}

// Found only in the other mode, the device is let go again.
void JobHost::ReportOtherMode(bool bootloader, bool incompatibleCounts, const wchar_t* found, const wchar_t* advice) {
  const int other = link_.Connect(nullptr, !bootloader);
  const bool inOtherMode = link_.IsConnected() && link_.IsBootloaderMode() != bootloader;
  if (inOtherMode || (incompatibleCounts && other == -3)) {
    link_.Disconnect();
    dialog_.Say(found);
    dialog_.Say(advice);
  } else {
    dialog_.Say(L"Device not found.");
  }
}

// The path names the USB port an altimeter sits in: a re-plug into the same
// port is the same altimeter, one in another port may not be.
void JobHost::NoteDeviceHeld() {
  const std::wstring& path = link_.device.path;
  if (!lastDevicePath_.empty() && path != lastDevicePath_) {
    dialog_.Say(L"This is another altimeter than the one this window was connected to.");
  }
  lastDevicePath_ = path;
}

void JobHost::OnNotice(uint32_t event, const DeviceBroadcast& broadcast) {
  if (event == kDeviceRemoveComplete) link_.InterfaceRemoved(broadcast);
  Apply(rule_.OnNotice(event, broadcast, [&] { return link_.device.MatchesInterfaceName(broadcast); }));
}

void JobHost::OnSuspend() {
  if (link_.IsConnected()) Apply(rule_.OnSuspend());
}

bool JobHost::StartJob(JobKind kind, std::function<void()> work) {
  if (!rule_.TryStartJob()) return false;
  jobThrew_ = false;
  dialog_.OnJobStarted(kind);
  if (dialog_.StartThread([this, work = std::move(work)] { RunOnWorker(work); })) return true;
  rule_.JobEnded();
  dialog_.OnJobFinished();
  dialog_.Say(L"The operation could not be started.");
  dialog_.RefreshControls(false);
  return false;
}

// The end is posted whatever the work does: a job whose end never came would
// leave the dialog refusing every command, and unable to close.
void JobHost::RunOnWorker(const std::function<void()>& work) {
  try {
    work();
  } catch (...) {
    jobThrew_ = true;
  }
  dialog_.PostJobEnded();
}

void JobHost::OnJobEnded() {
  JobRule::Steps steps = rule_.JobEnded();
  dialog_.OnJobFinished();
  if (jobThrew_) {
    dialog_.Say(L"The operation failed.");
    steps.refreshControls = !rule_.Closing();
  }
  Apply(steps);
}

void JobHost::Apply(const JobRule::Steps& steps) {
  if (steps.closeLink) {
    dialog_.Say(L"Device disconnected.");
    link_.device.Close();
  }
  if (steps.reportConnection) ReportConnection();
  if (steps.refreshControls) dialog_.RefreshControls(rule_.JobRunning());
}
