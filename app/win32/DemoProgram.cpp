// The demonstration build: the shell over the real HID stack, with a simulated
// altimeter after the real interfaces, so a real altimeter, when attached, is
// the one connected to. The "Simulated altimeter" window beside the main
// window plugs it in (with three recorded flights at first) and pulls it out.
#include <windows.h>

#include "base/DebugLog.h"
#include "app/win32/Application.h"
#include "device/AltimeterLink.h"
#include "device/ChainedHidBackend.h"
#include "device/win32/Win32HidBackend.h"
#include "sim/SimUsbPort.h"
#include "sim/win32/SimulatorWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  InitDebugLog();
  Win32HidBackend realDevices;
  SimHidBackend simulatedDevices;
  SimUsbPort port(simulatedDevices);
  ChainedHidBackend backend(realDevices, simulatedDevices);
  AltimeterLink link(backend);
  return RunApplication(instance, link, [&port, instance](HWND main) { CreateSimulatorWindow(instance, main, port); });
}
