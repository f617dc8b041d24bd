#pragma once
// The DPI a window is shown at: its monitor's under per-monitor awareness
// (Windows 10 1607 and later), the system's before that.
#include <windows.h>

#include <cstdint>

int32_t WindowDpi(HWND window);
// The DPI of the primary monitor at the program's start, for what is made
// before its window.
int32_t SystemDpi();
// `basePixels` of a 96-DPI picture at `dpi`, rounded.
int32_t PixelsAtDpi(int32_t basePixels, int32_t dpi);
