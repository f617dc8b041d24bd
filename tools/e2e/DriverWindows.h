#pragma once
// Finding and waiting for the program's windows from another process in the
// same Wine desktop.
#include <windows.h>

#include <functional>
#include <string>

// 15 s, or ZELDRIVE_TIMEOUT_MS where everything runs slowly (an emulated processor).
DWORD DefaultTimeoutMs();

// Polls `find` until it gives a window or `timeoutMs` passes; null then.
HWND WaitForWindow(const std::function<HWND()>& find, DWORD timeoutMs);
// The program's main window, visible; null when there is none.
HWND FindMainWindow();
// A visible dialog box (class #32770) with this caption; null when there is none.
HWND FindDialog(const std::wstring& caption);
// Any visible dialog box of the main window's process; null when there is none.
HWND FindAnyDialogOfProgram();
std::wstring WindowText(HWND window);
// The colour on the screen at `at` (screen coordinates).
COLORREF ScreenPixel(POINT at);
// Waits until `window` no longer exists; false on time-out.
bool WaitUntilGone(HWND window, DWORD timeoutMs);
