#include "app/win32/MainWindow.h"

#include <shellapi.h>

#include <deque>
#include <string>

#include "app/win32/FileCommands.h"
#include "app/win32/ShellFiles.h"
#include "prompts/win32/MessageBoxes.h"
#include "app/win32/ToolCommands.h"
#include "resources/ResourceIds.h"
#include "view/win32/Graph.h"
#include "view/win32/WindowDpi.h"

namespace {

constexpr POINT kMinimumTrackSize{420, 320};  // at 96 DPI
constexpr UINT kOpenHandedOverMessage = WM_APP + 10;

// A window's client device context for the life of the object.
class ClientDc {
 public:
  explicit ClientDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ClientDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  ClientDc(const ClientDc&) = delete;
  ClientDc& operator=(const ClientDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

void SetMinimumTrackSize(HWND window, MINMAXINFO& limits) {
  const int32_t dpi = WindowDpi(window);
  limits.ptMinTrackSize = {PixelsAtDpi(kMinimumTrackSize.x, dpi), PixelsAtDpi(kMinimumTrackSize.y, dpi)};
}

RECT ClientRectOf(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}

bool RegisterMainClass(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_CLASSDC;
  windowClass.lpfnWndProc = MainWndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kMainWindowClass;
  // The image drawn for the small icon's size at this DPI, not a scaled one.
  const int smallIcon = GetSystemMetrics(SM_CXSMICON);
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, smallIcon, smallIcon, LR_SHARED));
  return RegisterClassExW(&windowClass) != 0;
}

// The client size the drawing was last made for; empty while it is released.
SIZE drawingSize{};

// A drawing that cannot be made shows the warning box and ends the program,
// at creation and at any later resize alike: never without a word.
void RemakeDrawing(HWND window, const RECT& client) {
  ReleaseDrawing();
  drawingSize = {client.right, client.bottom};
  if (client.right == 0 || client.bottom == 0) return;
  SetGraphDpi(WindowDpi(window));
  SetGraphSize(client.right, client.bottom);
  ResetDrawing(window, false);
}

void OnCreate(HWND window) {
  RemakeDrawing(window, ClientRectOf(window));
  DragAcceptFiles(window, TRUE);
}

// A data file dropped on the window opens as File > Open would open it.
void OnDropFiles(HWND window, HDROP drop) {
  const std::optional<std::wstring> path = FirstDroppedFile(drop);
  DragFinish(drop);
  if (path) OpenDataSetFile(window, *path);
}

// At the end of every size change the drawing follows the client size, once: a
// move, or another notice of the same change, keeps the picture on screen. A
// minimised window keeps the drawing released until the next change.
void ResizeStep(HWND window) {
  const RECT client = ClientRectOf(window);
  if (client.right == drawingSize.cx && client.bottom == drawingSize.cy) return;
  RemakeDrawing(window, client);
  RefreshGraph();
}

// While the frame is dragged, painting stretches the last picture.
void OnSize(HWND window, WPARAM kind) {
  if (kind == SIZE_MAXIMIZED) {
    ResizeStep(window);
  } else {
    InvalidateRect(window, nullptr, FALSE);
  }
}

// Moved to a monitor of another DPI: the system's rectangle keeps the window's
// size in that monitor's pixels; the graph is drawn again for the new DPI
// even when its size in pixels stays.
void OnDpiChanged(HWND window, const RECT& suggested) {
  SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  SetGraphDpi(WindowDpi(window));
  RefreshGraph();
}

void OnPaint(HWND window) {
  const RECT client = ClientRectOf(window);
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  PresentBackSurface(client.right, client.bottom);
  EndPaint(window, &paint);
  ValidateRect(window, nullptr);
}

// A live download keeps a redraw request posted all the time, and the system
// paints a window only when nothing is posted: the open dialog would freeze.
// So every window of this thread that waits for paint gets it after each frame.
void PaintWaitingWindows() {
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM) -> BOOL {
        RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        return TRUE;
      },
      0);
}

// Files that second starts handed over, opened once no dialog or message box
// of the program is up (the window is disabled while one is): a flight
// changed under an open dialog would surprise it, and Download Data's
// hand-back would replace it.
std::deque<std::wstring> handedOverFiles;

void OpenHandedOverFiles(HWND window) {
  while (IsWindowEnabled(window) && !handedOverFiles.empty()) {
    const std::wstring path = std::move(handedOverFiles.front());
    handedOverFiles.pop_front();
    OpenDataSetFile(window, path);
  }
}

// An open dialog stays in front of the window it belongs to.
void ComeToFront(HWND window) {
  if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(GetLastActivePopup(window));
}

// Posted, so the file opens from the message loop once the window is enabled:
// never inside the sender's call, nor under a dialog that is ending.
LRESULT OnCopyData(HWND window, const COPYDATASTRUCT& data) {
  const std::optional<std::wstring> path = FileHandedOver(data);
  if (!path) return FALSE;
  ComeToFront(window);
  if (path->empty()) return TRUE;
  handedOverFiles.push_back(*path);
  PostMessageW(window, kOpenHandedOverMessage, 0, 0);
  return TRUE;
}

// The commands on the displayed set are offered only while one is displayed.
void OnInitMenuPopup(HMENU menu) {
  EnableMenuItem(menu, IDM_FLIGHT_REPORT, MF_BYCOMMAND | (SetIsDisplayed() ? MF_ENABLED : MF_GRAYED));
}

bool ConfirmClose(HWND window) { return ShowMessageBox(window, IDS_ARE_YOU_SURE, MB_YESNO | MB_ICONWARNING) != IDNO; }

void OnCommand(HWND window, WPARAM command) {
  switch (command) {
    case IDM_OPEN:
      OpenCommand(window);
      break;
    case IDM_EXPORT_CSV:
      ExportCsvCommand(window);
      break;
    case IDM_EXPORT_XML:
      ExportXmlCommand(window);
      break;
    case IDM_FLIGHT_REPORT:
      FlightReportCommand(window);
      break;
    case IDM_EXIT:
      SendMessageW(window, WM_CLOSE, 0, 0);
      break;
    case IDM_DOWNLOAD_DATA:
      DownloadDataCommand(window);
      break;
    case IDM_DEVICE_SETTINGS:
      DeviceSettingsCommand(window);
      break;
    case IDM_CONTROL_DEVICE:
      ControlDeviceCommand(window);
      break;
    case IDM_UPDATE_FIRMWARE:
      UpdateFirmwareCommand(window);
      break;
    case IDM_ABOUT:
      AboutCommand(window);
      break;
    default:
      break;
  }
}

}  // namespace

HWND CreateMainWindow(HINSTANCE instance) {
  if (!RegisterMainClass(instance)) return nullptr;
  const HMENU menu = LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAIN_MENU));
  g_hWnd = CreateWindowExW(0, kMainWindowClass, kProgramTitle, WS_OVERLAPPEDWINDOW | WS_MAXIMIZE, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance, nullptr);
  if (!g_hWnd) return nullptr;
  {
    const RECT client = ClientRectOf(g_hWnd);
    const ClientDc dc(g_hWnd);
    BitBlt(dc.Get(), 0, 0, client.right, client.bottom, nullptr, 0, 0, BLACKNESS);
  }
  ShowWindow(g_hWnd, SW_SHOWMAXIMIZED);
  return g_hWnd;
}

// Every message of the thread, not only the window's: the quit message is
// addressed to no window, and a loop filtered to the window would never see
// it (a failed drawing set-up posts it while the window lives on).
void RunMessageLoop() {
  MSG message;
  for (;;) {
    const BOOL result = GetMessageW(&message, nullptr, 0, 0);
    if (result == 0 || result == -1) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void DestroyMainWindow(HINSTANCE instance) {
  DestroyWindow(g_hWnd);
  UnregisterClassW(kMainWindowClass, instance);
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  static const UINT liveTraceFramesMessage = RegisterWindowMessageW(kLiveTraceFramesMessage);
  static const UINT graphLayoutMessage = RegisterWindowMessageW(kGraphLayoutMessage);
  if (message == liveTraceFramesMessage) return static_cast<LRESULT>(LiveTraceFramesDrawn());
  if (message == graphLayoutMessage) return LogGraphLayout();
  switch (message) {
    case WM_CREATE:
      OnCreate(window);
      return 0;
    case WM_DESTROY:
      ReleaseDrawing();
      PostQuitMessage(0);
      return 0;
    case WM_SIZE:
      OnSize(window, wParam);
      break;
    case WM_PAINT:
      OnPaint(window);
      break;
    case WM_CLOSE:
      if (!ConfirmClose(window)) return 0;
      break;
    case WM_GETMINMAXINFO:
      SetMinimumTrackSize(window, *reinterpret_cast<MINMAXINFO*>(lParam));
      break;
    case WM_DPICHANGED:
      OnDpiChanged(window, *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_WINDOWPOSCHANGED:
      if (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_FRAMECHANGED) ResizeStep(window);
      break;
    case WM_EXITSIZEMOVE:
      ResizeStep(window);
      break;
    case WM_COMMAND:
      OnCommand(window, wParam);
      break;
    case WM_INITMENUPOPUP:
      OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
      break;
    case WM_COPYDATA:
      return OnCopyData(window, *reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_ENABLE:
      if (wParam) PostMessageW(window, kOpenHandedOverMessage, 0, 0);
      break;
    case kOpenHandedOverMessage:
      OpenHandedOverFiles(window);
      return 0;
    case WM_DROPFILES:
      OnDropFiles(window, reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_REDRAWGRAPH:
      ServeRedrawRequest();
      PaintWaitingWindows();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
