#include "app/win32/Application.h"

#include <commctrl.h>

#include "base/DebugLog.h"
#include "app/win32/DialogClass.h"
#include "app/win32/FileCommands.h"
#include "app/win32/MainWindow.h"
#include "app/win32/ShellFiles.h"
#include "app/win32/SingleProgram.h"
#include "app/win32/StandardOutputLog.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/Graph.h"

namespace {

AltimeterLink* programLink = nullptr;  // we don't own it

}  // namespace

AltimeterLink& ProgramLink() { return *programLink; }

int RunApplication(HINSTANCE instance, AltimeterLink& link, const std::function<void(HWND)>& beside) {
  const SingleProgram single(GetCommandLineW());
  if (!single.IsFirst()) return 0;
  InitCommonControls();
  SendDebugLogToStandardOutput();
  DebugLog << "- ZEL USB -" << std::endl << std::endl;
  programLink = &link;
  BindGraph(link);
  RegisterDialogClass();
  const GdiplusSession gdiplus;  // up until the window and its drawing are gone
  if (const HWND main = CreateMainWindow(instance)) {
    if (beside) beside(main);
    // A data file the program was started with, as by a double click on it.
    if (const auto path = FileNamedOn(GetCommandLineW())) OpenDataSetFile(main, *path);
    RunMessageLoop();
  }
  DestroyMainWindow(instance);
  return 0;
}
