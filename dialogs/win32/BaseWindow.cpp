#include "dialogs/win32/BaseWindow.h"

#include <objidl.h>
#include <gdiplus.h>

#include "prompts/win32/MessageBoxes.h"
#include "dialogs/win32/DialogFace.h"

namespace {

constexpr int kCaptionCapacity = 255;  // wide characters with the terminator
constexpr LONG kLabelStyle = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW;

}  // namespace

CBaseWindow::CBaseWindow(int dialogId) : CDialogWindow(dialogId), backgroundBrush(kDialogFace) {}

RECT CBaseWindow::WindowBounds() const {
  RECT bounds{};
  GetWindowRect(hwnd, &bounds);
  return bounds;
}

int CBaseWindow::OuterWidth() const {
  const RECT bounds = WindowBounds();
  return bounds.right - bounds.left;
}

int CBaseWindow::OuterHeight() const {
  const RECT bounds = WindowBounds();
  return bounds.bottom - bounds.top;
}

INT_PTR CBaseWindow::HandleCommonMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CTLCOLORDLG:
      return backgroundBrush.AsResult();
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
      SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
      return backgroundBrush.AsResult();
    case WM_ERASEBKGND:
      return EraseBackground(reinterpret_cast<HDC>(wParam));
    case WM_PAINT: {
      PAINTSTRUCT paint;  // the face was painted on WM_ERASEBKGND; this only validates
      BeginPaint(hwnd, &paint);
      EndPaint(hwnd, &paint);
      return 1;
    }
    case WM_DRAWITEM:
      return DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    default:
      return 0;
  }
}

// The face colour is asked of the dialog itself, so a dialog that answers
// WM_CTLCOLORDLG differently gets its own face.
INT_PTR CBaseWindow::EraseBackground(HDC dc) {
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hwnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(hwnd)));
  LOGBRUSH face{};
  GetObjectW(brush, sizeof face, &face);
  Gdiplus::Graphics graphics(dc);
  graphics.Clear(Gdiplus::Color(255, GetRValue(face.lbColor), GetGValue(face.lbColor), GetBValue(face.lbColor)));
  // The dialog alone: a plain ValidateRect would also validate its controls
  // (it has no WS_CLIPCHILDREN), and they would never paint.
  RedrawWindow(hwnd, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
  return 1;
}

INT_PTR CBaseWindow::DrawItem(const DRAWITEMSTRUCT& item) const {
  const GroupLabel* label = FindGroupLabel(item.hwndItem);
  if (label == nullptr) return 1;
  label->Draw(item, hwnd, kDialogFace, [this](HWND window) { return FindGroupLabel(window) != nullptr; });
  return 1;
}

HWND CBaseWindow::ReplaceGroupBox(int id) {
  const HWND box = Control(id);
  RECT bounds{};
  GetWindowRect(box, &bounds);
  POINT corner{bounds.left, bounds.top};
  ScreenToClient(hwnd, &corner);
  wchar_t caption[kCaptionCapacity] = {};
  GetWindowTextW(box, caption, kCaptionCapacity);
  const HWND label = CreateWindowExW(0, L"Static", caption, kLabelStyle, corner.x, corner.y, bounds.right - bounds.left,
                                     bounds.bottom - bounds.top, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
  DestroyWindow(box);
  // Labels repaint whole when resized, or their frames would smear.
  SetClassLongPtrW(label, GCL_STYLE, GetClassLongPtrW(label, GCL_STYLE) | CS_HREDRAW | CS_VREDRAW);
  groupLabels.push_back(std::make_unique<GroupLabel>(label));
  return label;
}

const GroupLabel* CBaseWindow::FindGroupLabel(HWND window) const {
  for (const std::unique_ptr<GroupLabel>& label : groupLabels) {
    if (label->Window() == window) return label.get();
  }
  return nullptr;
}

int CBaseWindow::ShowMessage(UINT stringId, UINT type) const { return ShowMessageBox(hwnd, stringId, type); }
