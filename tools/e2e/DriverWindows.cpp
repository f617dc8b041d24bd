#include "tools/e2e/DriverWindows.h"

#include <cwchar>
#include <vector>

namespace {

constexpr DWORD kPollMs = 10;

bool IsVisibleDialog(HWND window) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  return IsWindowVisible(window) && std::wstring(className) == L"#32770";
}

struct ProcessDialogSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchProcessDialog(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ProcessDialogSearch*>(context);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsVisibleDialog(window)) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

DWORD DefaultTimeoutMs() {
  static const DWORD timeoutMs = [] {
    wchar_t text[16] = {};
    const DWORD length = GetEnvironmentVariableW(L"ZELDRIVE_TIMEOUT_MS", text, 16);
    const unsigned long given = length > 0 && length < 16 ? std::wcstoul(text, nullptr, 10) : 0;
    return given > 0 ? static_cast<DWORD>(given) : DWORD{15000};
  }();
  return timeoutMs;
}

HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (const HWND window = find()) return window;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(kPollMs);
  }
}

HWND FindMainWindow() {
  const HWND window = FindWindowW(L"AltInterface", nullptr);
  return window && IsWindowVisible(window) ? window : nullptr;
}

// The system's dialogs (message boxes, file dialogs) and the program's own,
// whose templates name the class "DialogClass".
HWND FindDialog(const std::wstring& caption) {
  for (const wchar_t* dialogClass : {L"#32770", L"DialogClass"}) {
    const HWND window = FindWindowW(dialogClass, caption.c_str());
    if (window && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

HWND FindAnyDialogOfProgram() {
  const HWND main = FindWindowW(L"AltInterface", nullptr);
  if (!main) return nullptr;
  ProcessDialogSearch search{0, nullptr};
  GetWindowThreadProcessId(main, &search.processId);
  EnumWindows(MatchProcessDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring WindowText(HWND window) {
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return text.data();
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
  return WaitForWindow([window]() -> HWND { return IsWindow(window) ? nullptr : GetDesktopWindow(); }, timeoutMs) !=
         nullptr;
}

COLORREF ScreenPixel(POINT at) {
  const HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}
