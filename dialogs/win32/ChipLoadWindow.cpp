#include "dialogs/win32/ChipLoadWindow.h"

#include <array>
#include <initializer_list>
#include <utility>

#include "device/AltimeterLink.h"
#include "dialogs/DownloadJobs.h"
#include "dialogs/SettingsJobs.h"
#include "resources/ResourceIds.h"

namespace {

constexpr uint16_t kTenthsPerSecond = 10;

UINT NotANumberMessage(SettingsBox box) {
  switch (box) {
    case SettingsBox::LineATime:
      return IDS_LINE_A_TIME_NOT_NUMBER;
    case SettingsBox::LineAAltitude:
      return IDS_LINE_A_ALTITUDE_NOT_NUMBER;
    case SettingsBox::LineBTime:
      return IDS_LINE_B_TIME_NOT_NUMBER;
    case SettingsBox::LineBAltitude:
      return IDS_LINE_B_ALTITUDE_NOT_NUMBER;
    case SettingsBox::Inhibit:
      break;
  }
  return IDS_INHIBIT_NOT_NUMBER;
}

}  // namespace

const CChipLoadWindow::LineControls CChipLoadWindow::kLineA{
    IDC_LINE_A_DISABLED, IDC_LINE_A_TIME, IDC_LINE_A_ALTITUDE, IDC_LINE_A_APOGEE, IDC_LINE_A_SECONDS,
    IDC_LINE_A_METRES};
const CChipLoadWindow::LineControls CChipLoadWindow::kLineB{
    IDC_LINE_B_DISABLED, IDC_LINE_B_TIME, IDC_LINE_B_ALTITUDE, IDC_LINE_B_APOGEE, IDC_LINE_B_SECONDS,
    IDC_LINE_B_METRES};

// In the order the record's modes are looked for among the checked radios.
std::array<std::pair<int, LineMode>, 4> CChipLoadWindow::Radios(const LineControls& line) {
  return {{{line.disabled, LineMode::Disabled},
           {line.apogee, LineMode::Apogee},
           {line.time, LineMode::Time},
           {line.altitude, LineMode::Altitude}}};
}

CChipLoadWindow::CChipLoadWindow(AltimeterLink& link) : ToolDialog(IDD_DEVICE_SETTINGS, link) {}

CChipLoadWindow::~CChipLoadWindow() { CancelAndAwaitWorker(); }

void CChipLoadWindow::OnInitDialog() {
  CreateLayout();
  AnchorControls();
  CheckDlgButton(hwnd, IDC_LINE_A_DISABLED, BST_CHECKED);
  CheckDlgButton(hwnd, IDC_LINE_B_DISABLED, BST_CHECKED);
  RegisterForDeviceNotifications();
  SettingsToControls();
  AppendStatus(L"Warning!");
  AppendStatus(L"Writing settings or calibrating will clear the current data on the device!\r\n");
  ReportConnection();
  UpdateControls(false);
}

void CChipLoadWindow::AnchorControls() {
  using namespace anchoring;
  Anchor(IDC_STATUS, kGrows);
  for (const int id : {IDC_READ_SETTINGS, IDC_WRITE_SETTINGS, IDC_CLOSE}) Anchor(id, kFollowsCorner);
  for (const int id : {IDC_LINE_A_DISABLED, IDC_LINE_B_DISABLED, IDC_LINE_A_TIME, IDC_LINE_B_TIME,
                       IDC_LINE_A_ALTITUDE, IDC_LINE_B_ALTITUDE, IDC_LINE_A_APOGEE, IDC_LINE_B_APOGEE,
                       IDC_LINE_A_SECONDS, IDC_LINE_B_SECONDS, IDC_LINE_A_METRES, IDC_LINE_B_METRES}) {
    Anchor(id, kStays);
  }
  for (const int id : {IDC_INHIBIT_LABEL, IDC_INHIBIT, IDC_GROUND_ALTITUDE_LABEL, IDC_GROUND_ALTITUDE,
                       IDC_CALIBRATE, IDC_CALIBRATION_RULE}) {
    Anchor(id, kFollowsRight);
  }
  Anchor(IDC_SETTINGS_ICON, kStays);
  AnchorGroup(IDC_SETTINGS_STATUS_GROUP, kGrows);
  AnchorGroup(IDC_SETTINGS_GROUP, kWidens);
  AnchorGroup(IDC_LINE_A_GROUP, kStays);
  AnchorGroup(IDC_LINE_B_GROUP, kStays);
  AnchorGroup(IDC_GENERAL_GROUP, kFollowsRight);
}

void CChipLoadWindow::UpdateControls(bool busy) {
  const bool idle = link.IsConnected() && !busy;
  ShowConnectionIcon(IDC_SETTINGS_ICON);
  for (const int id : {IDC_READ_SETTINGS, IDC_WRITE_SETTINGS, IDC_CALIBRATE}) Enable(id, idle);
}

void CChipLoadWindow::OnCommand(int id) {
  switch (id) {
    case IDC_LINE_A_DISABLED:
    case IDC_LINE_A_TIME:
    case IDC_LINE_A_ALTITUDE:
    case IDC_LINE_A_APOGEE:
      OnModeChosen(kLineA, id);
      break;
    case IDC_LINE_B_DISABLED:
    case IDC_LINE_B_TIME:
    case IDC_LINE_B_ALTITUDE:
    case IDC_LINE_B_APOGEE:
      OnModeChosen(kLineB, id);
      break;
    case IDC_READ_SETTINGS:
      OnRead();
      break;
    case IDC_WRITE_SETTINGS:
      OnWrite();
      break;
    case IDC_CALIBRATE:
      OnCalibrate();
      break;
    default:
      break;
  }
}

bool CChipLoadWindow::StartsNothing(int id) const {
  for (const LineControls* line : {&kLineA, &kLineB}) {
    for (const auto& [radio, mode] : Radios(*line)) {
      if (radio == id) return true;
    }
  }
  return false;
}

bool CChipLoadWindow::OnOtherMessage(UINT message, WPARAM, LPARAM, INT_PTR&) {
  if (message == WM_SIZE) RepaintAll();  // after the layout has moved the controls
  return false;
}

// The Settings frame holds three frames of its own. Repainted alone after a
// resize, it would clear them and leave the places its controls left; so the
// dialog repaints first, then every control in order.
void CChipLoadWindow::RepaintAll() {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CChipLoadWindow::OnClose() {
  if (WorkerHasEnded("Reposting close message...")) EndDialog(hwnd, 0);
}

void CChipLoadWindow::OnModeChosen(const LineControls& line, int radioId) {
  Enable(line.seconds, radioId == line.time);
  Enable(line.metres, radioId == line.altitude);
}

void CChipLoadWindow::OnRead() {
  ForgetDownload(link);
  StartSettingsJob(JobKind::ReadSettings, [this] { RunSettingsRead(link, *this); });
}

// A refused entry keeps the downloaded flights: nothing happens at all.
void CChipLoadWindow::OnWrite() {
  const SettingsEntry pressed = ReadEntry();
  if (const std::optional<EntryRefusal> refusal = RefusalOf(pressed)) return Refuse(*refusal);
  entry = pressed;
  ForgetDownload(link);
  StartSettingsJob(JobKind::WriteSettings, [this] { RunSettingsWrite(link, *this, entry); });
}

// The entry is checked on the worker, which says the calibration failed.
void CChipLoadWindow::OnCalibrate() {
  const std::optional<uint32_t> metres = GroundAltitude(BoxText(IDC_GROUND_ALTITUDE));
  if (!metres) {
    ShowError(IDS_ENTER_ALTITUDE);
    return;
  }
  groundAltitude = *metres;
  entry = ReadEntry();
  StartSettingsJob(JobKind::Calibration, [this] { RunCalibration(link, *this, entry, groundAltitude); });
}

void CChipLoadWindow::StartSettingsJob(JobKind kind, std::function<void()> work) {
  for (const int id : {IDC_READ_SETTINGS, IDC_WRITE_SETTINGS, IDC_CALIBRATE}) Enable(id, false);
  StartJob(kind, std::move(work));
}

// ---- The record and the controls ----

void CChipLoadWindow::SettingsToControls() {
  ShowLine(kLineA, link.settings.lineAMode, link.settings.lineAValue);
  ShowLine(kLineB, link.settings.lineBMode, link.settings.lineBValue);
  SetDlgItemInt(hwnd, IDC_INHIBIT, link.settings.inhibitTime / kTenthsPerSecond, FALSE);
}

// The mode's radio is clicked as the user would, so its boxes follow; a mode
// the dialog does not know checks none.
void CChipLoadWindow::ShowLine(const LineControls& line, LineMode mode, uint16_t value) {
  for (const auto& [radio, radioMode] : Radios(line)) {
    CheckDlgButton(hwnd, radio, radioMode == mode ? BST_CHECKED : BST_UNCHECKED);
  }
  for (const auto& [radio, radioMode] : Radios(line)) {
    if (radioMode != mode) continue;
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(radio, BN_CLICKED), reinterpret_cast<LPARAM>(Control(radio)));
  }
  SetDlgItemInt(hwnd, line.seconds, value / kTenthsPerSecond, FALSE);
  SetDlgItemInt(hwnd, line.metres, value, FALSE);
}

SettingsEntry CChipLoadWindow::ReadEntry() const {
  return {ReadLine(kLineA), ReadLine(kLineB), BoxValue(IDC_INHIBIT)};
}

LineEntry CChipLoadWindow::ReadLine(const LineControls& line) const {
  return {CheckedMode(line), BoxValue(line.seconds), BoxValue(line.metres)};
}

std::optional<LineMode> CChipLoadWindow::CheckedMode(const LineControls& line) const {
  for (const auto& [radio, mode] : Radios(line)) {
    if (IsDlgButtonChecked(hwnd, radio) == BST_CHECKED) return mode;
  }
  return std::nullopt;
}

std::optional<uint64_t> CChipLoadWindow::BoxValue(int id) const { return SettingsBoxValue(BoxText(id)); }

std::wstring CChipLoadWindow::BoxText(int id) const {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Control(id))) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(Control(id), &text[0], static_cast<int>(text.size()))));
  return text;
}

void CChipLoadWindow::Refuse(const EntryRefusal& refusal) {
  ShowError(refusal.boxWithoutNumber ? NotANumberMessage(*refusal.boxWithoutNumber) : IDS_SETTING_TOO_LARGE);
}

void CChipLoadWindow::Warn(SettingsWarning warning) {
  ShowWarning(warning == SettingsWarning::InhibitLarge ? IDS_INHIBIT_LARGE : IDS_LINES_DISABLED);
}
