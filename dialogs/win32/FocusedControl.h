#pragma once
// Which control of a dialog holds the keyboard focus, asked from any thread or
// process: GetFocus answers only for the caller's own thread. Shared by the
// dialogs and the test driver, so both name the focus alike.
#include <windows.h>

// The id of `dialog`'s control holding its thread's focus, the control itself
// and not a part of it (a combo box's edit); 0 when none does.
inline int FocusedControlId(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return 0;
  for (HWND window = info.hwndFocus; window != nullptr; window = GetParent(window)) {
    if (GetParent(window) == dialog) return GetDlgCtrlID(window);
  }
  return 0;
}
