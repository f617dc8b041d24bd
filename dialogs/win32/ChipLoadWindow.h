#pragma once
// Device Settings ("Program Chip"): reads, edits, writes and calibrates the altimeter's settings.
#include <windows.h>

#include "dialogs/win32/ToolDialog.h"

class CChipLoadWindow : public ToolDialog {
 public:
  explicit CChipLoadWindow(AltimeterLink& link);

 protected:
  void OnInitDialog() override;
  void OnCommand(int id) override;
  void OnClose() override;
  void UpdateControls(bool busy) override;
};
