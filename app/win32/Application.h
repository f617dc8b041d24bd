#pragma once
// The program's run from start-up to teardown, over whichever AltimeterLink
// the entry put together.
#include <windows.h>

class AltimeterLink;

// Banner, dialog class, GDI+, the main window and its message loop; returns
// the process's exit code.
int RunApplication(HINSTANCE instance, AltimeterLink& link);
// The link given to RunApplication: the program's single state object.
AltimeterLink& ProgramLink();
