#include "dialogs/win32/CaptureWindow.h"

#include <commctrl.h>

#include <initializer_list>
#include <optional>

#include "prompts/win32/FileDialog.h"
#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "dialogs/CsvPath.h"
#include "dialogs/DownloadJobs.h"
#include "view/win32/Graph.h"

namespace {

constexpr BYTE kLiveUpdateAlpha = 64;     // of 255: the graph shows through
constexpr int kCommentCapacity = 1024;    // narrow characters with the terminator
constexpr UINT_PTR kStripSubclassId = 0;


constexpr wchar_t kDataFileFilter[] = L"ZEL USB Data\0*.zel\0";

std::optional<MapKey> MapKeyOf(WPARAM virtualKey) {
  switch (virtualKey) {
    case VK_LEFT:
      return MapKey::kPrevious;
    case VK_RIGHT:
      return MapKey::kNext;
    case VK_HOME:
      return MapKey::kFirst;
    case VK_END:
      return MapKey::kLast;
    default:
      return std::nullopt;
  }
}

int32_t DisplayedSetNumber(AltimeterLink& link) {
  const auto lock = link.LockData();
  return link.currentSet.setNumber;
}

}  // namespace

CCaptureWindow::CCaptureWindow(AltimeterLink& link)
    : ToolDialog(IDD_DOWNLOAD_DATA, link), selectedSet(DisplayedSetNumber(link)) {}

CCaptureWindow::~CCaptureWindow() {
  CancelAndAwaitWorker();
  link.device.Close();
}

void CCaptureWindow::OnInitDialog() {
  Enable(IDC_SAVE_SELECTED, false);
  CreateLayout();
  AnchorControls();
  for (const int id : {IDC_SAVE_SELECTED, IDC_SAVE_COMMENT, IDC_SAVE_ALL}) Enable(id, false);
  SetWindowSubclass(Control(IDC_MEMORY_MAP), MemoryMapProc, kStripSubclassId, reinterpret_cast<DWORD_PTR>(this));
  RegisterForDeviceNotifications();
  RedrawMemoryMap();
  ReportConnection();
  UpdateControls(false);
}

void CCaptureWindow::AnchorControls() {
  using namespace anchoring;
  Anchor(IDC_STATUS, kGrows);
  Anchor(IDC_SAVE_ALL, kFollowsCorner);
  Anchor(IDC_CLOSE, kFollowsCorner);
  Anchor(IDC_READ_DATA, kFollowsCorner);
  Anchor(IDC_GENERATE_CSV, kFollowsBottom);
  Anchor(IDC_LIVE_UPDATE, kFollowsBottom);
  Anchor(IDC_SAVE_SELECTED, kFollowsRight);
  Anchor(IDC_CLEAR_DEVICE, kFollowsRight);
  Anchor(IDC_COMMENT, kWidens);
  Anchor(IDC_MEMORY_MAP, kWidens);
  Anchor(IDC_CONNECTION_ICON, kStays);
  AnchorGroup(IDC_DEVICE_DATA_GROUP, kWidens);
  AnchorGroup(IDC_STATUS_GROUP, kGrows);
}

void CCaptureWindow::UpdateControls(bool busy) {
  if (Closing()) return;
  const bool connected = link.IsConnected();
  ShowConnectionIcon(IDC_CONNECTION_ICON);
  Enable(IDC_READ_DATA, connected && !busy);
  Enable(IDC_CLEAR_DEVICE, connected && !busy);
  Enable(IDC_LIVE_UPDATE, !busy);
  const bool haveSets = !busy && PacketCount(link) > 0;
  Enable(IDC_CLOSE, haveSets);
  Enable(IDC_SAVE_ALL, haveSets);
  const int32_t set = selectedSet;
  const bool setChosen = haveSets && set >= 0 && set < link.CountSets();
  for (const int id : {IDC_SAVE_SELECTED, IDC_SAVE_COMMENT, IDC_COMMENT}) Enable(id, setChosen);
  if (!busy) SetTranslucent(false);
}

void CCaptureWindow::OnCommand(int id) {
  switch (id) {
    case IDC_READ_DATA:
      OnReadData();
      break;
    case IDC_CLEAR_DEVICE:
      OnClearDevice();
      break;
    case IDC_SAVE_COMMENT:
      OnSaveComment();
      break;
    case IDC_SAVE_SELECTED:
      if (SaveSetAs(selectedSet)) ShowMessage(IDS_SETS_SAVED, MB_ICONINFORMATION);
      break;
    case IDC_SAVE_ALL:
      OnSaveAll();
      break;
    default:
      break;
  }
}

// A download the close interrupted leaves neither packets nor a data set,
// however many passes of the handshake it took to end.
void CCaptureWindow::OnClose() {
  interruptedWorker = interruptedWorker || workerThread.IsRunning();
  link.RequestCancel();
  DebugLog << "Canceled IO." << std::endl;
  if (!WorkerHasEnded("reposting close message...")) return;
  if (interruptedWorker) ForgetDownload(link);
  EndDialog(hwnd, 0);
}

// ---- Read Data ----

void CCaptureWindow::OnReadData() {
  liveUpdate = Checked(IDC_LIVE_UPDATE);  // the box stays disabled while the download runs
  if (liveUpdate) SetTranslucent(true);
  for (const int id : {IDC_READ_DATA, IDC_CLEAR_DEVICE, IDC_SAVE_SELECTED, IDC_SAVE_COMMENT, IDC_SAVE_ALL}) {
    Enable(id, false);
  }
  StartJob(JobKind::Download, [this] { RunDownload(link, *this); });
}

// The main window draws the live trace: a drawing never holds up the download.
void CCaptureWindow::LiveSamplesRead() {
  if (liveUpdate) RequestLiveTrace();
}

// ---- Clear Device ----

void CCaptureWindow::OnClearDevice() {
  if (ShowMessage(IDS_ARE_YOU_SURE, MB_YESNO | MB_ICONWARNING) == IDNO) return;
  if (JobRunning()) return;  // one worker at a time
  for (const int id : {IDC_READ_DATA, IDC_SAVE_SELECTED, IDC_SAVE_COMMENT, IDC_SAVE_ALL}) Enable(id, false);
  StartJob(JobKind::ClearMemory, [this] { RunMemoryClear(link, *this); });
}

// ---- Comments and files ----

void CCaptureWindow::OnSaveComment() {
  char text[kCommentCapacity] = {};
  GetWindowTextA(Control(IDC_COMMENT), text, kCommentCapacity);
  const int32_t set = selectedSet;
  if (set < 0) return;
  const auto lock = link.LockData();
  // A clear empties the comments but keeps the packets: make room again.
  if (link.comments.size() <= static_cast<size_t>(set)) link.comments.resize(set + 1);
  link.comments[set] = text;
}

// Packets without a start packet hold no set: nothing is saved, nothing said.
void CCaptureWindow::OnSaveAll() {
  if (link.CountSets() == 0) return;
  for (int32_t set = 0; set < link.CountSets(); ++set) {
    if (!SaveSetAs(set)) return;
  }
  ShowMessage(IDS_SETS_SAVED, MB_ICONINFORMATION);
}

bool CCaptureWindow::SaveSetAs(int32_t set) {
  const std::wstring title = L"Save data set " + std::to_wstring(set + 1);
  std::wstring path;
  if (!AskSavePath(hwnd, {kDataFileFilter, title.c_str(), L"zel"}, path)) return false;
  if (!link.SaveDataSet(path, set)) {
    ShowError(IDS_SAVE_FAILED);
    return false;
  }
  if (Checked(IDC_GENERATE_CSV) && !link.ExportCsv(CsvPathFor(path), set)) {
    ShowError(IDS_CSV_SAVE_FAILED);
    return false;
  }
  return true;
}

// ---- The strip ----

void CCaptureWindow::RedrawMemoryMap() {
  {
    // Set under the packets' lock: a redraw that read older packets on
    // another thread can never store its colours after this one's.
    const auto lock = link.LockData();
    memoryMap.SetColours(ColourMemoryMap(link.packets, selectedSet));
  }
  InvalidateRect(Control(IDC_MEMORY_MAP), nullptr, TRUE);
}

void CCaptureWindow::OnStripClick(int x) {
  RECT client{};
  GetClientRect(Control(IDC_MEMORY_MAP), &client);
  const int32_t column = MemoryMapColumnAt(x, client.right);
  DebugLog << "XPos: " << x << std::endl;
  DebugLog << "Selected Set: " << column << std::endl;
  const int32_t set = link.SetOfPacket(column);
  if (set != -1) selectedSet = set;
  ShowSelection();
}

// As a click on the set's first column selects it.
void CCaptureWindow::OnStripKey(MapKey key) {
  const std::optional<int32_t> set = SetForKey(key, selectedSet, link.CountSets());
  if (!set) return;
  DebugLog << "Selected Set: " << link.SetStartPacket(*set) << std::endl;
  selectedSet = *set;
  ShowSelection();
}

void CCaptureWindow::ShowSelection() {
  // A selection left from an earlier, larger download names no set here.
  if (selectedSet >= 0 && selectedSet < link.CountSets()) {
    for (const int id : {IDC_SAVE_SELECTED, IDC_SAVE_COMMENT, IDC_COMMENT}) Enable(id, true);
    ShowSelectedComment();
  }
  RedrawMemoryMap();
}

// A set past the end of the comments (after a clear) shows an empty box, so
// a Save Comment never copies the last set's text onto it.
void CCaptureWindow::ShowSelectedComment() {
  const size_t set = static_cast<size_t>(selectedSet.load());
  std::string comment;
  size_t stored = 0;
  {
    const auto lock = link.LockData();
    stored = link.comments.size();
    if (set < stored) comment = link.comments[set];
  }
  DebugLog << "Size: " << stored << comment << std::endl;
  SetWindowTextA(Control(IDC_COMMENT), comment.c_str());
}

LRESULT CALLBACK CCaptureWindow::MemoryMapProc(HWND strip, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR dialogAddress) {
  auto& dialog = *reinterpret_cast<CCaptureWindow*>(dialogAddress);
  switch (message) {
    case WM_ERASEBKGND:
      // The static's own painting adds its frame. Nothing is validated here: a
      // worker's redraw asked for while this painted older colours must stand.
      dialog.memoryMap.Paint(strip, reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_LBUTTONDOWN:
      if (dialog.JobRunning() || PacketCount(dialog.link) == 0) return 0;
      SetFocus(strip);  // the keys go on from the set clicked
      dialog.OnStripClick(LOWORD(lParam));
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(strip, nullptr, TRUE);  // the focus rectangle
      break;
    case WM_KEYDOWN: {
      const std::optional<MapKey> key = MapKeyOf(wParam);
      if (!key) break;
      if (!dialog.JobRunning() && PacketCount(dialog.link) > 0) dialog.OnStripKey(*key);
      return 0;
    }
    default:
      break;
  }
  return DefSubclassProc(strip, message, wParam, lParam);
}

// ---- Helpers ----

bool CCaptureWindow::Checked(int id) const { return IsDlgButtonChecked(hwnd, id) == BST_CHECKED; }

// Live drawing shows through the dialog while a download runs.
void CCaptureWindow::SetTranslucent(bool translucent) {
  const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
  if (translucent) {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
    SetLayeredWindowAttributes(hwnd, 0, kLiveUpdateAlpha, LWA_ALPHA);
  } else {
    SetWindowLongPtrW(hwnd, GWL_EXSTYLE, style & ~WS_EX_LAYERED);
  }
  UpdateWindow(hwnd);
}
