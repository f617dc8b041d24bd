#pragma once
// The Tools and Help commands of the main window: each opens its dialog
// modally over `owner`.
#include <windows.h>

// Download Data; when it closes, the set chosen there (or the one shown
// before) is selected and drawn.
void DownloadDataCommand(HWND owner);
// Device Settings and Control Device.
void DeviceSettingsCommand(HWND owner);
void ControlDeviceCommand(HWND owner);
// Update Firmware and About.
void UpdateFirmwareCommand(HWND owner);
void AboutCommand(HWND owner);
