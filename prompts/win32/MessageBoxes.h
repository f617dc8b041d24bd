#pragma once
// Message boxes of the program: texts from the string table, one caption.
#include <windows.h>

// The main window's title and every message box's caption.
constexpr wchar_t kProgramTitle[] = L"ZEL USB 1.41";

// Shows string `id` (at most 255 characters) with MessageBoxW; returns its result.
int ShowMessageBox(HWND owner, UINT id, UINT type);
// ShowMessageBox with MB_ICONERROR.
int ShowErrorBox(HWND owner, UINT id);
