#pragma once
// The demonstration program's "Simulated altimeter" window: plug the simulated
// altimeter in or pull it out, choose its firmware version and memory, pace its
// replies, arm a fault for its next operation, or store a damaged settings
// record. Another device may be plugged in for a moment, and a USB stick
// inserted. Each reaches the program's open dialogs as the system's device
// notices would.
#include <windows.h>

class SimUsbPort;

// Creates the window at the right edge of the screen, owned by (and so always
// above) the main window; it lives as long as that. Null when it cannot be made.
HWND CreateSimulatorWindow(HINSTANCE instance, HWND mainWindow, SimUsbPort& port);
