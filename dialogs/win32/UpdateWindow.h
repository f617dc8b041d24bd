#pragma once
// Update Firmware: connects to the altimeter's bootloader, takes a firmware
// file and writes it on a worker, reporting the checks, the progress in tens
// of per cent and the outcome. It cannot be closed while an update runs.
#include <windows.h>

#include <string>

#include "dialogs/win32/ToolDialog.h"

class CUpdateWindow : public ToolDialog {
 public:
  explicit CUpdateWindow(AltimeterLink& link);
  // Waits for an update still running, then closes the device handles: the
  // link stays closed after the dialog.
  ~CUpdateWindow() override;

 protected:
  void OnInitDialog() override;
  void OnCommand(int id) override;
  void OnClose() override;
  void UpdateControls(bool busy) override;

 private:
  void OnUpdate();

  std::wstring firmwarePath;
};
