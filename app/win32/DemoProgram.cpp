// The demonstration build: the shell over the real HID stack, with a simulated
// altimeter holding a few recorded flights plugged in after the real
// interfaces, so a real altimeter, when attached, is the one connected to.
#include <windows.h>

#include <memory>

#include "base/DebugLog.h"
#include "app/win32/Application.h"
#include "device/AltimeterLink.h"
#include "device/ChainedHidBackend.h"
#include "device/win32/Win32HidBackend.h"
#include "sim/SimAltimeter.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  InitDebugLog();
  Win32HidBackend realDevices;
  SimHidBackend simulatedDevices;
  PlugSimAltimeter(simulatedDevices, std::make_shared<SimAltimeter>(PresetMemory(MemoryPreset::SeveralFlights)));
  ChainedHidBackend backend(realDevices, simulatedDevices);
  AltimeterLink link(backend);
  return RunApplication(instance, link);
}
