#pragma once
// The program's run from start-up to teardown, over whichever AltimeterLink
// the entry put together.
#include <windows.h>

#include <functional>

class AltimeterLink;

// The log on standard output, banner, dialog class, GDI+, the main window and
// its message loop; returns
// the process's exit code. `beside`, when given, makes further windows once the
// main window (its argument) is up; they run on the same loop.
int RunApplication(HINSTANCE instance, AltimeterLink& link, const std::function<void(HWND)>& beside = nullptr);
// The link given to RunApplication: the program's single state object.
AltimeterLink& ProgramLink();
