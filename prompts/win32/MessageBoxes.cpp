#include "prompts/win32/MessageBoxes.h"

int ShowMessageBox(HWND owner, UINT id, UINT type) {
  wchar_t text[256] = {};
  LoadStringW(GetModuleHandleW(nullptr), id, text, static_cast<int>(sizeof text / sizeof text[0]));
  return MessageBoxW(owner, text, kProgramTitle, type);
}

int ShowErrorBox(HWND owner, UINT id) { return ShowMessageBox(owner, id, MB_ICONERROR); }
