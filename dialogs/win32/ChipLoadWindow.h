#pragma once
// Device Settings ("Program Chip"): reads, edits, writes and calibrates the
// altimeter's settings. It edits the link's own record; writing and
// calibrating erase the flights on the device.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "dialogs/SettingsEntry.h"
#include "dialogs/win32/ToolDialog.h"
#include "resources/DeviceSettingsIds.h"

class CChipLoadWindow : public ToolDialog {
 public:
  explicit CChipLoadWindow(AltimeterLink& link);
  ~CChipLoadWindow() override;

 protected:
  void OnInitDialog() override;
  void OnCommand(int id) override;
  bool StartsNothing(int id) const override;  // the mode radios
  void OnClose() override;
  void UpdateControls(bool busy) override;
  bool OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  // One line's mode radios and its boxes.
  struct LineControls {
    int disabled;
    int time;
    int altitude;
    int apogee;
    int seconds;
    int metres;
  };
  static const LineControls kLineA;
  static const LineControls kLineB;
  // A line's radios with their modes.
  static std::array<std::pair<int, LineMode>, 4> Radios(const LineControls& line);

  void AnchorControls();
  void RepaintAll();
  void OnModeChosen(const LineControls& line, int radioId);
  void OnRead();
  void OnWrite();
  void OnCalibrate();
  void StartSettingsJob(JobKind kind, std::function<void()> work);

  // The record into the controls and back; any thread.
  void SettingsToControls();
  void ShowLine(const LineControls& line, LineMode mode, uint16_t value);
  SettingsEntry ReadEntry() const;
  LineEntry ReadLine(const LineControls& line) const;
  std::optional<LineMode> CheckedMode(const LineControls& line) const;
  std::optional<uint64_t> BoxValue(int id) const;  // empty is 0; nullopt: no whole number
  std::wstring BoxText(int id) const;

  // What the jobs show here; the message boxes are the user's to answer.
  void OfferRead() override { Enable(IDC_READ_SETTINGS, true); }
  void SettingsChanged() override { SettingsToControls(); }
  void Refuse(const EntryRefusal& refusal) override;
  void Warn(SettingsWarning warning) override;

  uint32_t groundAltitude = 0;  // metres above sea level, for the calibration worker
  // The boxes as they were when Write or Calibrate was pressed: what is
  // checked is what is written, whatever the boxes show meanwhile.
  SettingsEntry entry;
};
