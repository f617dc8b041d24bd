#pragma once
// Control Options: reads the pressure and the battery, fires the lines and emulates a launch.
#include <windows.h>

#include "dialogs/win32/ToolDialog.h"

class CControlOptionsWindow : public ToolDialog {
 public:
  explicit CControlOptionsWindow(AltimeterLink& link);

 protected:
  void OnInitDialog() override;
  void OnCommand(int id) override;
  void OnClose() override;
  void UpdateControls(bool busy) override;
};
