#pragma once
// Control Options: exercises the connected altimeter on the bench. Reads the
// pressure and the battery, fires both lines, and emulates a launch by feeding
// the altimeter the flight the main window shows, reporting what it detects.
#include <windows.h>

#include <cstdint>

#include "dialogs/BenchJobs.h"
#include "dialogs/win32/ToolDialog.h"

class CControlOptionsWindow : public ToolDialog {
 public:
  explicit CControlOptionsWindow(AltimeterLink& link);
  ~CControlOptionsWindow() override;

 protected:
  void OnInitDialog() override;
  void OnCommand(int id) override;
  void OnClose() override;
  void UpdateControls(bool busy) override;

 private:
  void AnchorControls();
  void OnEmulateLaunch();
  // Disables the device buttons and runs the job on the worker.
  void StartBenchJob(BenchJob job);
  bool HasDisplayedFlight() const;
};
