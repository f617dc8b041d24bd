#pragma once
// Control Options: exercises the connected altimeter on the bench. Reads the
// pressure and the battery, fires both lines, and emulates a launch by feeding
// the altimeter the flight the main window shows, reporting what it detects.
#include <windows.h>

#include <cstdint>

#include "data/DeviceSettings.h"
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
  using Work = void (CControlOptionsWindow::*)();

  void AnchorControls();
  void OnEmulateLaunch();
  // Disables the device buttons and runs `work` on the worker once the link
  // is known to be open.
  void StartDeviceWorker(Work work);

  // Workers; each ends with UpdateControlsInTurn(false) on every path.
  void ReadPressureThread();
  void ReadBatteryThread();
  void FireLinesThread();
  void EmulateThread();
  void EndWith(const wchar_t* line);
  static void OnEmulationEvent(void* context, int code, int samplesSent);

  // The device's stored record, read without replacing the one in effect.
  int ReadDeviceRecord(DeviceSettings& record);
  bool HasDisplayedFlight() const;
};
