#include "tools/e2e/ReadCommands.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tools/e2e/DriverWindows.h"

namespace {

constexpr int kCellCapacity = 1024;  // wide characters

int Fail(const char* what) {
  std::fprintf(stderr, "zeldrive: %s\n", what);
  return 1;
}

// A block of memory in another process, for a control there to write into.
class RemoteMemory {
 public:
  RemoteMemory(DWORD processId, size_t bytes)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId)),
        memory_(process_ ? VirtualAllocEx(process_, nullptr, bytes, MEM_COMMIT, PAGE_READWRITE) : nullptr) {}
  ~RemoteMemory() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool Ready() const { return memory_ != nullptr; }
  BYTE* At(size_t offset) const { return static_cast<BYTE*>(memory_) + offset; }
  bool Write(size_t offset, const void* bytes, size_t size) const {
    return WriteProcessMemory(process_, At(offset), bytes, size, nullptr) != FALSE;
  }
  bool Read(size_t offset, void* bytes, size_t size) const {
    return ReadProcessMemory(process_, At(offset), bytes, size, nullptr) != FALSE;
  }

 private:
  HANDLE process_;
  void* memory_;
};

// The text of one cell, read with LVM_GETITEMTEXTW into the list's own process.
bool CellText(HWND list, const RemoteMemory& remote, int row, int column, std::wstring& text) {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(remote.At(sizeof item));
  item.cchTextMax = kCellCapacity;
  if (!remote.Write(0, &item, sizeof item)) return false;
  const LRESULT length = SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.At(0)));
  text.assign(static_cast<size_t>(length), L'\0');
  return length == 0 || remote.Read(sizeof item, text.data(), text.size() * sizeof(wchar_t));
}

std::string Utf8(const std::wstring& text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string bytes(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr,
                      nullptr);
  return bytes;
}

}  // namespace

// One line per row, its cells joined by tabs.
int RowsCommand(const DriverArgs& args) {
  const HWND dialog = WaitForWindow([&args] { return FindDialog(args[0]); }, DefaultTimeoutMs());
  if (!dialog) return Fail("no such window");
  const HWND list = GetDlgItem(dialog, static_cast<int>(std::wcstol(args[1].c_str(), nullptr, 0)));
  if (!list) return Fail("no such control");
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  const RemoteMemory remote(processId, sizeof(LVITEMW) + kCellCapacity * sizeof(wchar_t));
  if (!remote.Ready()) return Fail("no memory in the program's process");
  const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
  const int columns = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    std::wstring line;
    for (int column = 0; column < columns; ++column) {
      std::wstring cell;
      if (!CellText(list, remote, row, column, cell)) return Fail("a cell could not be read");
      line += (column == 0 ? L"" : L"\t") + cell;
    }
    std::printf("%s\n", Utf8(line).c_str());
  }
  return 0;
}

// The clipboard's text, as UTF-8 and byte for byte (CR LF kept), into FILE.
int ClipboardCommand(const DriverArgs& args) {
  if (!OpenClipboard(nullptr)) return Fail("the clipboard is held");
  std::wstring text;
  if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  std::ofstream out(std::filesystem::path(args[0]), std::ios::binary);
  out << Utf8(text);
  return out.good() ? 0 : Fail("the file could not be written");
}

int EmptyClipboardCommand(const DriverArgs&) {
  if (!OpenClipboard(nullptr)) return Fail("the clipboard is held");
  const bool emptied = EmptyClipboard() != FALSE;
  CloseClipboard();
  return emptied ? 0 : Fail("the clipboard was not emptied");
}
