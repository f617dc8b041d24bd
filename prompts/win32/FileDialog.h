#pragma once
// The common open and save dialogs of the File commands. Each use starts with
// an empty file name in the system's default folder.
#include <windows.h>

#include <string>

struct FileDialogSetup {
  const wchar_t* filter;            // pairs of name and pattern, double-null terminated
  const wchar_t* title;
  const wchar_t* defaultExtension;  // null for none
};

// Each returns false when the user cancelled; otherwise `path` is the chosen file.
bool AskOpenPath(HWND owner, const FileDialogSetup& setup, std::wstring& path);
// Asks before overwriting an existing file.
bool AskSavePath(HWND owner, const FileDialogSetup& setup, std::wstring& path);
// As AskSavePath; `filterIndex` receives the file type chosen, from 1.
bool AskSavePathAndType(HWND owner, const FileDialogSetup& setup, std::wstring& path, int& filterIndex);
