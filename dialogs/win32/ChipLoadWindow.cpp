#include "dialogs/win32/ChipLoadWindow.h"

#include "device/AltimeterLink.h"
#include "resources/ResourceIds.h"

CChipLoadWindow::CChipLoadWindow(AltimeterLink& link) : ToolDialog(IDD_DEVICE_SETTINGS, link) {}

void CChipLoadWindow::OnInitDialog() {
  CreateLayout();
  RegisterForDeviceNotifications();
  ReportConnection();
  UpdateControls(false);
}

void CChipLoadWindow::OnCommand(int id) {
  if (id == IDC_CLOSE || id == IDCANCEL) SendMessageW(hwnd, WM_CLOSE, 0, 0);
}

void CChipLoadWindow::OnClose() {
  if (WorkerHasEnded("reposting close message...")) EndDialog(hwnd, 0);
}

void CChipLoadWindow::UpdateControls(bool) {}
