// zelusb-faults: the shipped program with DirectDraw faults that cannot be
// caused at will, armed from outside by the end-to-end tests (zeldrive fault).
#include <windows.h>

#include "app/win32/Application.h"
#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "device/win32/Win32HidBackend.h"
#include "tools/e2e/FaultMessage.h"
#include "view/win32/DrawingFaults.h"

namespace {

UINT armMessage = 0;

// Sees every message sent to the thread's windows before they do.
LRESULT CALLBACK ArmSentFault(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == armMessage) ArmDrawingFault(static_cast<DrawingFault>(sent->wParam));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The hook on this thread's sent messages for the life of the object.
class SentMessageHook {
 public:
  SentMessageHook() : hook_(SetWindowsHookExW(WH_CALLWNDPROC, ArmSentFault, nullptr, GetCurrentThreadId())) {}
  ~SentMessageHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  SentMessageHook(const SentMessageHook&) = delete;
  SentMessageHook& operator=(const SentMessageHook&) = delete;

 private:
  HHOOK hook_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  InitDebugLog();
  armMessage = RegisterWindowMessageW(kArmDrawingFaultMessage);
  const SentMessageHook hook;
  Win32HidBackend backend;
  AltimeterLink link(backend);
  return RunApplication(instance, link);
}
