#include "dialogs/win32/ControlOptionsWindow.h"

#include "device/AltimeterLink.h"
#include "resources/ResourceIds.h"

CControlOptionsWindow::CControlOptionsWindow(AltimeterLink& link) : ToolDialog(IDD_CONTROL_OPTIONS, link) {}

void CControlOptionsWindow::OnInitDialog() {
  CreateLayout();
  RegisterForDeviceNotifications();
  ReportConnection();
  UpdateControls(false);
}

void CControlOptionsWindow::OnCommand(int id) {
  if (id == IDC_CLOSE || id == IDCANCEL) SendMessageW(hwnd, WM_CLOSE, 0, 0);
}

void CControlOptionsWindow::OnClose() {
  if (WorkerHasEnded("reposting close message...")) EndDialog(hwnd, 0);
}

void CControlOptionsWindow::UpdateControls(bool) {}
