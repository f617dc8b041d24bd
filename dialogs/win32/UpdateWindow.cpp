#include "dialogs/win32/UpdateWindow.h"

#include <atomic>
#include <vector>

#include "prompts/win32/FileDialog.h"
#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "data/Version.h"
#include "dialogs/UpdateReport.h"
#include "resources/ResourceIds.h"
#include "resources/UpdateFirmwareIds.h"

namespace {

constexpr wchar_t kFirmwareFilter[] = L"Firmware Code\0*.dat\0";
constexpr int kNarrowPathCapacity = 2048;

// Kept for the whole run: a later update shows 0% first.
std::atomic<int> lastProgressShown{0};

// The log is narrow text; the file itself is opened by its wide name.
std::string NarrowPath(const std::wstring& path) {
  std::vector<char> narrow(kNarrowPathCapacity, '\0');
  WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow.data(), kNarrowPathCapacity - 1, nullptr, nullptr);
  return narrow.data();
}

}  // namespace

CUpdateWindow::CUpdateWindow(AltimeterLink& link) : ToolDialog(IDD_UPDATE_FIRMWARE, link) {}

CUpdateWindow::~CUpdateWindow() {
  CancelAndAwaitWorker();
  link.device.Close();
}

void CUpdateWindow::OnInitDialog() {
  CreateLayout();
  Anchor(IDC_STATUS, anchoring::kGrows);
  Anchor(IDC_CLOSE, anchoring::kFollowsCorner);
  Anchor(IDC_UPDATE, anchoring::kFollowsCorner);
  Anchor(IDC_CONNECTION_ICON, anchoring::kStays);
  AnchorGroup(IDC_UPDATE_STATUS_GROUP, anchoring::kGrows);
  RegisterForDeviceNotifications();
  ReportBootloaderConnection();
  UpdateControls(false);
}

void CUpdateWindow::UpdateControls(bool busy) {
  ShowConnectionIcon(IDC_CONNECTION_ICON);
  Enable(IDC_UPDATE, link.IsConnected() && !busy);
  Enable(IDC_CLOSE, !busy);
}

void CUpdateWindow::ReportBootloaderConnection() {
  uint16_t version = 0;
  const int result = link.Connect(&version, true);
  if (result == -2) {
    AppendStatus(
        L"Device found in bootloader mode. Unable to connect to device.\r\n"
        L"Please ensure it is not being used by another application.\r\n"
        L"Removing the device and re-attaching it should correct this.");
  } else if (result == -1) {
    ReportNoBootloader();
  } else if (result == -3) {
    AppendStatus(L"Device found in bootloader mode, but has incompatible bootloader version.");
    AppendStatus(L"Current device bootloader version: " + FormatVersion(version));
    AppendStatus(L"Required device bootloader version: " + FormatVersion(kBootloaderFamily));
  } else if (result == 1) {
    AppendStatus(L"Device connected in bootloader mode.");
    AppendStatus(L"Device bootloader version: " + FormatVersion(version));
  }
}

void CUpdateWindow::ReportNoBootloader() {
  const int application = link.Connect(nullptr, false);
  if (application == -3 || (link.IsConnected() && !link.IsBootloaderMode())) {
    link.Disconnect();
    AppendStatus(L"Device found, but is not in bootloader mode.");
    AppendStatus(L"Please reconnect the device in bootloader mode.");
  } else {
    AppendStatus(L"Device not found.");
  }
}

void CUpdateWindow::OnCommand(int id) {
  switch (id) {
    case IDC_UPDATE:
      OnUpdate();
      break;
    default:
      break;
  }
}

void CUpdateWindow::OnUpdate() {
  std::wstring path;
  if (!AskOpenPath(hwnd, {kFirmwareFilter, L"Load Firmware file", L"dat"}, path)) return;
  firmwarePath = path;
  Enable(IDC_UPDATE, false);
  Enable(IDC_CLOSE, false);
  StartWorker([this] { UpdateFirmwareThread(); });
}

// A half-written firmware is worse than a wait: the close is refused.
void CUpdateWindow::OnClose() {
  if (JobRunning()) {
    ShowWarning(IDS_FIRMWARE_WARNING);
    return;
  }
  link.RequestCancel();
  DebugLog << "Canceled IO." << std::endl;
  if (WorkerHasEnded("reposting close message...")) EndDialog(hwnd, 0);
}

void CUpdateWindow::UpdateFirmwareThread() {
  DebugLog << "Firmware file: " << NarrowPath(firmwarePath) << std::endl;
  if (!link.IsConnected()) {
    UpdateControlsInTurn(false);
    AppendStatus(kAltimeterNotFound);
    return;
  }
  AppendStatus(L"Updating firmware...");
  UpdateVersions versions;
  const int result = link.UpdateFirmware(OnUpdateProgress, this, std::filesystem::path(firmwarePath),
                                         &versions.fileFormat, &versions.hardware, &versions.bootloader,
                                         &versions.firmware);
  for (const std::wstring& line : UpdateResultLines(result, versions)) AppendStatus(line);
  UpdateControlsInTurn(false);
  if (result < 0) AppendStatus(L"Failed to update firmware.");
}

void CUpdateWindow::OnUpdateProgress(void* context, int blockIndex, int lastBlockIndex) {
  const int percent = UpdatePercent(blockIndex, lastBlockIndex);
  DebugLog << percent << std::endl;
  int shown = lastProgressShown;
  const std::optional<int> decile = NextProgressDecile(percent, shown);
  lastProgressShown = shown;
  if (decile) static_cast<CUpdateWindow*>(context)->AppendStatus(std::to_wstring(*decile) + L"%");
}
