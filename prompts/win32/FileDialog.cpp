#include "prompts/win32/FileDialog.h"

#include <commdlg.h>

#include <vector>

namespace {

constexpr DWORD kPathCapacity = 2048;  // wide characters

OPENFILENAMEW DialogRecord(HWND owner, const FileDialogSetup& setup, std::vector<wchar_t>& buffer) {
  OPENFILENAMEW record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.lpstrFilter = setup.filter;
  record.lpstrFile = buffer.data();
  record.nMaxFile = kPathCapacity;
  record.lpstrTitle = setup.title;
  record.lpstrDefExt = setup.defaultExtension;
  return record;
}

bool Chosen(BOOL answered, const std::vector<wchar_t>& buffer, std::wstring& path) {
  if (!answered) return false;
  path = buffer.data();
  return true;
}

}  // namespace

bool AskOpenPath(HWND owner, const FileDialogSetup& setup, std::wstring& path) {
  std::vector<wchar_t> buffer(kPathCapacity, L'\0');
  OPENFILENAMEW record = DialogRecord(owner, setup, buffer);
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the classic dialog, without the places bar
  record.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  return Chosen(GetOpenFileNameW(&record), buffer, path);
}

bool AskSavePath(HWND owner, const FileDialogSetup& setup, std::wstring& path) {
  int filterIndex = 0;
  return AskSavePathAndType(owner, setup, path, filterIndex);
}

bool AskSavePathAndType(HWND owner, const FileDialogSetup& setup, std::wstring& path, int& filterIndex) {
  std::vector<wchar_t> buffer(kPathCapacity, L'\0');
  OPENFILENAMEW record = DialogRecord(owner, setup, buffer);
  record.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!Chosen(GetSaveFileNameW(&record), buffer, path)) return false;
  filterIndex = static_cast<int>(record.nFilterIndex);
  return true;
}
