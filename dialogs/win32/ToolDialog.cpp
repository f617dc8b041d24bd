#include "dialogs/win32/ToolDialog.h"

#include <dbt.h>
#include <setupapi.h>

extern "C" {
#include <hidsdi.h>
}

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "dialogs/win32/DialogFace.h"
#include "dialogs/win32/SystemAwake.h"
#include "resources/ResourceIds.h"
#include "view/win32/Graph.h"
#include "view/win32/WindowDpi.h"

namespace {

static_assert(kDeviceArrival == DBT_DEVICEARRIVAL && kDeviceRemoveComplete == DBT_DEVICEREMOVECOMPLETE);
static_assert(DeviceBroadcast::kDeviceInterfaceType == DBT_DEVTYP_DEVICEINTERFACE);

constexpr int kConnectionIconSize = 48;
constexpr DWORD kCloseWaitMs = 100;
constexpr UINT kUpdateControlsMessage = WM_APP + 1;  // wParam: busy
constexpr UINT kJobEndedMessage = WM_APP + 2;        // posted by the worker as its job returns
// The worker has returned from its job when it posts the end; this only
// waits for its thread to wind down.
constexpr DWORD kJobEndWaitMs = 1000;
// Windows ends a program 5 s after the session's end reached it.
constexpr DWORD kSessionEndWaitMs = 4500;

DeviceBroadcast BroadcastOf(LPARAM data) {
  DeviceBroadcast broadcast;
  const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
  if (header == nullptr) return broadcast;
  broadcast.deviceType = header->dbch_devicetype;
  if (header->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE) {
    broadcast.name = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(data)->dbcc_name;
  }
  return broadcast;
}

}  // namespace

ToolDialog::ToolDialog(int dialogId, AltimeterLink& link, ConnectionMode mode)
    : CBaseWindow(dialogId),
      link(link),
      statusBrush(kStatusBoxFace),
      connectedIcon_(IDI_CONNECTED, PixelsAtDpi(kConnectionIconSize, SystemDpi())),
      disconnectedIcon_(IDI_DISCONNECTED, PixelsAtDpi(kConnectionIconSize, SystemDpi())),
      host_(link, *this, mode) {}

ToolDialog::~ToolDialog() { DebugLog << "DESTRUCT" << std::endl; }

// A burst of lines costs one refresh, and one repaint of the box.
void ToolDialog::AppendStatus(const std::wstring& line) {
  statusText.Append(line + L"\r\n");
  if (!statusRefreshPending_.exchange(true)) PostMessageW(hwnd, WM_STATUSUPDATE, 0, 0);
}

INT_PTR ToolDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (layout) layout->Handle(message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG:
      statusBox_.emplace(Control(kStatusBoxId));
      OnInitDialog();
      return TRUE;
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lParam) == Control(kStatusBoxId)) return statusBrush.AsResult();
      break;
    case WM_STATUSUPDATE:
      RefreshStatusBox();
      return TRUE;
    case kUpdateControlsMessage:
      if (statusRefreshPending_) RefreshStatusBox();  // a worker's lines show before its buttons change
      UpdateControls(wParam != FALSE);
      return TRUE;
    case kJobEndedMessage:
      OnJobEnded();
      return TRUE;
    case WM_DEVICECHANGE:
      if (!watchesDevices_) break;
      OnDeviceChange(wParam, lParam);
      return TRUE;
    case WM_COMMAND:
      // The status box's own notices mean nothing. Escape reaches a dialog as IDCANCEL.
      if (LOWORD(wParam) == kStatusBoxId) return TRUE;
      if (LOWORD(wParam) == kCloseButtonId || LOWORD(wParam) == IDCANCEL) {
        SendMessageW(hwnd, WM_CLOSE, 0, 0);
      } else if (host_.AcceptsCommand(StartsNothing(LOWORD(wParam)))) {
        OnCommand(LOWORD(wParam));
      }
      return TRUE;
    case WM_CLOSE:
      OnClose();
      return TRUE;
    case WM_QUERYENDSESSION:
      if (host_.AllowsSessionEnd()) break;
      DebugLog << "The session may not end: a job is running." << std::endl;
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, FALSE);
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) EndJobForSession();
      return TRUE;
    case WM_POWERBROADCAST:
      if (wParam != PBT_APMSUSPEND) break;
      DebugLog << "The computer is going to sleep." << std::endl;
      host_.OnSuspend();
      return TRUE;
    case WM_KEYDOWN:
      if (wParam != VK_ESCAPE) break;
      SendMessageW(hwnd, WM_CLOSE, 0, 0);
      return TRUE;
    default: {
      INT_PTR result = 0;
      if (OnOtherMessage(message, wParam, lParam, result)) return result;
      break;
    }
  }
  return HandleCommonMessage(window, message, wParam, lParam);
}

bool ToolDialog::OnOtherMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }

void ToolDialog::CreateLayout() { layout = std::make_unique<DialogLayout>(OuterWidth(), OuterHeight(), 0, 0); }

void ToolDialog::Anchor(int id, AnchorEdges edges) { layout->AddAnchor(Control(id), edges); }

void ToolDialog::AnchorGroup(int groupBoxId, AnchorEdges edges) {
  layout->AddAnchor(ReplaceGroupBox(groupBoxId), edges);
}

void ToolDialog::UpdateControlsInTurn(bool busy) {
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
    UpdateControls(busy);
  } else {
    SendMessageW(hwnd, kUpdateControlsMessage, busy, 0);
  }
}

bool ToolDialog::StartThread(std::function<void()> work) {
  return workerThread.Start([work = std::move(work)] {
    const SystemAwake awake;  // for the job's length: a sleep would cut it
    work();
  });
}

void ToolDialog::PostJobEnded() { PostMessageW(hwnd, kJobEndedMessage, 0, 0); }

void ToolDialog::OnJobStarted(JobKind kind) {
  const std::wstring reason = SessionEndReason(kind);
  ShutdownBlockReasonCreate(hwnd, reason.c_str());
  DebugLog << "Shutdown block reason: " << LogText(reason) << std::endl;
}

void ToolDialog::OnJobFinished() { ShutdownBlockReasonDestroy(hwnd); }

void ToolDialog::OnJobEnded() {
  workerThread.WaitFor(kJobEndWaitMs);
  host_.OnJobEnded();
  focus_.JobEnded(hwnd);
}

void ToolDialog::EndJobForSession() {
  if (!host_.JobRunning()) return;
  host_.BeginClosing();
  link.RequestCancel();
  DebugLog << "The session is ending: the job is cancelled." << std::endl;
  const bool ended = workerThread.WaitServingCalls(kSessionEndWaitMs);
  DebugLog << (ended ? "The job ended before the session." : "The session ended before the job.") << std::endl;
}

bool ToolDialog::WorkerHasEnded(const char* repostLine) {
  host_.BeginClosing();
  DebugLog << "Waiting for thread to close..." << std::endl;
  if (!workerThread.WaitFor(kCloseWaitMs)) {
    // Keep serving messages: the worker may be waiting on a call into this thread.
    DebugLog << repostLine << std::endl;
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return false;
  }
  DebugLog << "Thread has exited." << std::endl;
  return true;
}

void ToolDialog::CancelAndAwaitWorker() {
  host_.BeginClosing();
  if (!workerThread.IsRunning()) return;
  link.RequestCancel();
  workerThread.WaitServingCalls(INFINITE);
}

// Cleared first: a line appended while the box is filled posts a new refresh.
void ToolDialog::RefreshStatusBox() {
  statusRefreshPending_ = false;
  if (statusBox_) statusBox_->Show(statusText);
}

void ToolDialog::RegisterForDeviceNotifications() {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  HidD_GetHidGuid(&filter.dbcc_classguid);
  // Never unregistered: the system drops it with the window.
  RegisterDeviceNotificationW(hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  watchesDevices_ = true;
}

void ToolDialog::OnDeviceChange(WPARAM event, LPARAM data) {
  DebugLog << "Device Change." << std::endl;
  host_.OnNotice(static_cast<uint32_t>(event), BroadcastOf(data));
}

void ToolDialog::ShowConnectionIcon(int iconId) {
  const HICON icon = link.IsConnected() ? connectedIcon_.Get() : disconnectedIcon_.Get();
  PostMessageW(Control(iconId), STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
}

void ToolDialog::Enable(int id, bool enabled) { focus_.Enable(hwnd, id, enabled); }

void ToolDialog::GraphChanged() { RefreshGraph(); }
