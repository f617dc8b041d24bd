#include "dialogs/win32/StatusBox.h"

namespace {

constexpr LPARAM kAllLines = 0x7FFFFFFF;

}  // namespace

void ShowStatusText(HWND statusBox, const StatusText& text) {
  SendMessageW(statusBox, WM_SETREDRAW, FALSE, 0);
  text.Read([statusBox](const wchar_t* whole) {
    SendMessageW(statusBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(whole));
  });
  SendMessageW(statusBox, EM_LINESCROLL, 0, kAllLines);
  SendMessageW(statusBox, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(statusBox, nullptr, TRUE);
}
