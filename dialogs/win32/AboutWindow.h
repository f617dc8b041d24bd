#pragma once
// About: the picture, an invitation to the project's web site, and the
// versions this software is made for. No device, no worker.
#include <windows.h>

#include "dialogs/win32/AboutPicture.h"
#include "dialogs/win32/ToolDialog.h"

class CAboutWindow : public ToolDialog {
 public:
  explicit CAboutWindow(AltimeterLink& link);

 protected:
  void OnInitDialog() override;
  void OnCommand(int) override {}
  void OnClose() override;
  void UpdateControls(bool) override {}

 private:
  void BuildAboutText();

  AboutPicture picture_;
};
