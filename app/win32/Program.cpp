// The shipped program: the shell over the real SetupAPI/HID stack.
#include <windows.h>

#include "base/DebugLog.h"
#include "app/win32/Application.h"
#include "device/AltimeterLink.h"
#include "device/win32/Win32HidBackend.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  InitDebugLog();
  Win32HidBackend backend;
  AltimeterLink link(backend);
  return RunApplication(instance, link);
}
