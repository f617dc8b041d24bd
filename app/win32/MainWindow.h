#pragma once
// The main window "AltInterface": a maximised top-level window whose whole
// client area is the flight graph, with the program's menu.
#include <windows.h>

constexpr wchar_t kMainWindowClass[] = L"AltInterface";

// Registers the class, creates and shows the window maximised (its creation
// sets up the drawing); returns it, also kept in g_hWnd. Null on failure.
HWND CreateMainWindow(HINSTANCE instance);
// Runs until the quit message, or until retrieval fails.
void RunMessageLoop();
void DestroyMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
