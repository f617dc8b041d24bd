#include "app/win32/SingleProgram.h"

#include <optional>
#include <string>

#include "app/win32/MainWindow.h"
#include "app/win32/ShellFiles.h"

namespace {

// Local: one program per session, each user's own.
constexpr wchar_t kClaimName[] = L"Local\\ZEL USB 1.41 program";
// The running program may be starting (claimed, no window yet), busy, or
// ending (window gone, claim not yet given up).
constexpr DWORD kHandOverWaitMs = 10000;
constexpr DWORD kRetryMs = 50;
constexpr UINT kSendTimeoutMs = 5000;

// The running program's current folder is not ours: it gets a whole path.
std::wstring FullPath(const std::wstring& path) {
  const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (length == 0) return path;
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(path.c_str(), length, &full[0], nullptr));
  return full;
}

bool HandOver(HWND program, const std::wstring& path) {
  DWORD processId = 0;
  GetWindowThreadProcessId(program, &processId);
  AllowSetForegroundWindow(processId);  // the user started us: the front is ours to give
  COPYDATASTRUCT data = HandOverOf(path);
  DWORD_PTR taken = FALSE;
  return SendMessageTimeoutW(program, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &taken) != 0 &&
         taken != FALSE;
}

bool Claimed(HANDLE claim) {
  const DWORD result = WaitForSingleObject(claim, 0);
  return result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;  // abandoned: the last program ended
}

}  // namespace

SingleProgram::SingleProgram(const wchar_t* commandLine) : claim_(CreateMutexW(nullptr, FALSE, kClaimName)) {
  if (!claim_.IsValid()) {
    owned_ = true;  // no claim to be had: run as before
    return;
  }
  const std::optional<std::wstring> file = FileNamedOn(commandLine);
  const std::wstring path = file ? FullPath(*file) : std::wstring();
  const DWORD start = GetTickCount();
  for (;;) {
    if (Claimed(claim_.Get())) {
      owned_ = true;
      return;
    }
    const HWND program = FindWindowW(kMainWindowClass, nullptr);
    if (program != nullptr && HandOver(program, path)) return;
    if (GetTickCount() - start >= kHandOverWaitMs) return;
    Sleep(kRetryMs);
  }
}

SingleProgram::~SingleProgram() {
  if (owned_) ReleaseMutex(claim_.Get());
}
