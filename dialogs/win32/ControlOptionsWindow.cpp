#include "dialogs/win32/ControlOptionsWindow.h"

#include <initializer_list>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "dialogs/ControlOptionsText.h"
#include "resources/ControlOptionsIds.h"
#include "resources/ResourceIds.h"
#include "view/win32/Graph.h"

namespace {

constexpr std::initializer_list<int> kDeviceButtons = {IDC_EMULATE_LAUNCH, IDC_READ_PRESSURE, IDC_READ_BATTERY,
                                                       IDC_FIRE_LINES};
constexpr std::initializer_list<int> kBenchButtons = {IDC_READ_PRESSURE, IDC_READ_BATTERY, IDC_FIRE_LINES};

}  // namespace

CControlOptionsWindow::CControlOptionsWindow(AltimeterLink& link) : ToolDialog(IDD_CONTROL_OPTIONS, link) {}

CControlOptionsWindow::~CControlOptionsWindow() { CancelAndAwaitWorker(); }

void CControlOptionsWindow::OnInitDialog() {
  CreateLayout();
  AnchorControls();
  RegisterForDeviceNotifications();
  ReportConnection();
  UpdateControls(false);
}

void CControlOptionsWindow::AnchorControls() {
  using namespace anchoring;
  Anchor(IDC_STATUS, kGrows);
  Anchor(IDC_CLOSE, kFollowsCorner);
  for (const int id : kDeviceButtons) Anchor(id, kStays);
  AnchorGroup(IDC_OPTIONS_GROUP, kWidens);
  AnchorGroup(IDC_CONTROL_STATUS_GROUP, kGrows);
}

void CControlOptionsWindow::UpdateControls(bool busy) {
  if (Closing()) return;
  const bool ready = !busy && link.IsConnected();
  ShowConnectionIcon(IDC_CONNECTION_ICON);
  Enable(IDC_EMULATE_LAUNCH, ready && HasDisplayedFlight());
  for (const int id : kBenchButtons) Enable(id, ready);
}

void CControlOptionsWindow::OnCommand(int id) {
  switch (id) {
    case IDC_EMULATE_LAUNCH:
      OnEmulateLaunch();
      break;
    case IDC_READ_PRESSURE:
      StartDeviceWorker(&CControlOptionsWindow::ReadPressureThread);
      break;
    case IDC_READ_BATTERY:
      StartDeviceWorker(&CControlOptionsWindow::ReadBatteryThread);
      break;
    case IDC_FIRE_LINES:
      StartDeviceWorker(&CControlOptionsWindow::FireLinesThread);
      break;
    default:
      break;
  }
}

// The box runs a message loop of its own: a close served meanwhile has ended
// the dialog, and the worker then starts no emulation that would outlive it.
void CControlOptionsWindow::OnEmulateLaunch() {
  ShowMessage(IDS_CONNECT_BATTERY, MB_ICONINFORMATION);
  StartDeviceWorker(&CControlOptionsWindow::EmulateThread);
}

// Asked again at every pass: an emulation clears the request as it starts, so
// one made just before would be lost.
void CControlOptionsWindow::OnClose() {
  link.RequestCancel();
  if (WorkerHasEnded("reposting close message...")) EndDialog(hwnd, 0);
}

void CControlOptionsWindow::StartDeviceWorker(Work work) {
  for (const int id : kDeviceButtons) Enable(id, false);
  StartWorker([this, work] {
    UpdateControlsInTurn(true);
    if (!link.IsConnected()) return EndWith(kAltimeterNotFound);
    (this->*work)();
  });
}

// ---- Workers ----

void CControlOptionsWindow::ReadPressureThread() {
  DeviceSettings record;
  if (ReadDeviceRecord(record) < 0) return EndWith(L"Failed to read settings.");
  uint16_t adc = 0;
  if (link.ReadPressureAdc(adc) < 0) return EndWith(L"Failed.");
  DebugLog << "ADC: 0x" << std::hex << adc << std::endl;
  if (!DeviceSettings(record).ParseOrSetDefaults()) {
    AppendStatus(L"The device settings are invalid: converting with the default calibration offset.");
  }
  for (const std::wstring& line : PressureReadingLines(adc, StoredAdcOffset(record))) AppendStatus(line);
  UpdateControlsInTurn(false);
  RefreshGraph();
}

void CControlOptionsWindow::ReadBatteryThread() {
  uint16_t tenthsOfVolt = 0;
  if (link.ReadBatteryVoltage(tenthsOfVolt) < 0) return EndWith(L"Failed.");
  AppendStatus(BatteryVoltageLine(tenthsOfVolt));
  DebugLog << "Notifying connection..." << std::endl;
  UpdateControlsInTurn(false);
  DebugLog << "Done." << std::endl;
}

void CControlOptionsWindow::FireLinesThread() {
  AppendStatus(L"Firing both lines for 2 seconds...");
  EndWith(link.FireLines() < 0 ? L"Failed." : L"Done.");
}

void CControlOptionsWindow::EmulateThread() {
  AppendStatus(L"Emulating...");
  EndWith(link.EmulateLaunch(OnEmulationEvent, this) ? L"Done." : L"Failed.");
}

void CControlOptionsWindow::EndWith(const wchar_t* line) {
  AppendStatus(line);
  UpdateControlsInTurn(false);
}

void CControlOptionsWindow::OnEmulationEvent(void* context, int code, int samplesSent) {
  const std::wstring line = EmulationEventLine(code, samplesSent);
  if (!line.empty()) static_cast<CControlOptionsWindow*>(context)->AppendStatus(line);
}

// ---- Helpers ----

// The conversions use the offset stored in the device, while the record in
// effect (perhaps a loaded file's, which its exports use) stays as it was.
int CControlOptionsWindow::ReadDeviceRecord(DeviceSettings& record) {
  const DeviceSettings inEffect = link.settings;
  const int result = link.ReadSettings();
  record = link.settings;
  link.settings = inEffect;
  return result;
}

bool CControlOptionsWindow::HasDisplayedFlight() const {
  const auto lock = link.LockData();
  return !link.currentSet.IsEmpty();
}
