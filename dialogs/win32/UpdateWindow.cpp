#include "dialogs/win32/UpdateWindow.h"

#include <vector>

#include "prompts/win32/FileDialog.h"
#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "dialogs/UpdateJob.h"
#include "resources/ResourceIds.h"
#include "resources/UpdateFirmwareIds.h"

namespace {

constexpr wchar_t kFirmwareFilter[] = L"Firmware Code\0*.dat\0";
constexpr int kNarrowPathCapacity = 2048;

// The log is narrow text; the file itself is opened by its wide name.
std::string NarrowPath(const std::wstring& path) {
  std::vector<char> narrow(kNarrowPathCapacity, '\0');
  WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, narrow.data(), kNarrowPathCapacity - 1, nullptr, nullptr);
  return narrow.data();
}

}  // namespace

CUpdateWindow::CUpdateWindow(AltimeterLink& link)
    : ToolDialog(IDD_UPDATE_FIRMWARE, link, ConnectionMode::Bootloader) {}

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
  ReportConnection();
  UpdateControls(false);
}

void CUpdateWindow::UpdateControls(bool busy) {
  ShowConnectionIcon(IDC_CONNECTION_ICON);
  Enable(IDC_UPDATE, link.IsConnected() && !busy);
  Enable(IDC_CLOSE, !busy);
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
  StartJob(JobKind::FirmwareUpdate, [this] {
    DebugLog << "Firmware file: " << NarrowPath(firmwarePath) << std::endl;
    RunFirmwareUpdate(link, *this, std::filesystem::path(firmwarePath));
  });
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

