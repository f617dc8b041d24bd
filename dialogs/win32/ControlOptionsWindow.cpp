#include "dialogs/win32/ControlOptionsWindow.h"

#include <initializer_list>

#include "device/AltimeterLink.h"
#include "resources/ControlOptionsIds.h"
#include "resources/ResourceIds.h"

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
      StartBenchJob(BenchJob::ReadPressure);
      break;
    case IDC_READ_BATTERY:
      StartBenchJob(BenchJob::ReadBattery);
      break;
    case IDC_FIRE_LINES:
      StartBenchJob(BenchJob::FireLines);
      break;
    default:
      break;
  }
}

// The box runs a message loop of its own: a close served meanwhile has ended
// the dialog, and the worker then starts no emulation that would outlive it.
void CControlOptionsWindow::OnEmulateLaunch() {
  ShowMessage(IDS_CONNECT_BATTERY, MB_ICONINFORMATION);
  StartBenchJob(BenchJob::EmulateLaunch);
}

// Asked again at every pass: an emulation clears the request as it starts, so
// one made just before would be lost.
void CControlOptionsWindow::OnClose() {
  link.RequestCancel();
  if (WorkerHasEnded("reposting close message...")) EndDialog(hwnd, 0);
}

void CControlOptionsWindow::StartBenchJob(BenchJob job) {
  for (const int id : kDeviceButtons) Enable(id, false);
  const JobKind kind = job == BenchJob::EmulateLaunch ? JobKind::Emulation : JobKind::Bench;
  StartJob(kind, [this, job] { RunBenchJob(link, *this, job); });
}

bool CControlOptionsWindow::HasDisplayedFlight() const {
  const auto lock = link.LockData();
  return !link.currentSet.IsEmpty();
}
