#pragma once
// zeldrive's commands on the controls of a window found by its caption: the
// program's dialogs, the system's, and the demonstration's simulator window.
#include <string>
#include <vector>

using DriverArgs = std::vector<std::wstring>;

int PressCommand(const DriverArgs& args);        // CAPTION ID
int PressAtLineCommand(const DriverArgs& args);  // CAPTION ID LINE WINDOW BUTTON-ID...
int ClickButtonCommand(const DriverArgs& args);  // CAPTION ID
int CheckCommand(const DriverArgs& args);        // CAPTION ID 0|1
int SetTextCommand(const DriverArgs& args);      // CAPTION ID TEXT
int PressThenSetTextCommand(const DriverArgs& args);  // CAPTION BUTTON-ID ID TEXT
int TextCommand(const DriverArgs& args);         // CAPTION ID
int WaitLineCommand(const DriverArgs& args);     // CAPTION ID LINE
int TimeLineCommand(const DriverArgs& args);     // CAPTION BUTTON-ID ID LINE
int TimeBetweenCommand(const DriverArgs& args);  // CAPTION ID FROM TO
int ChooseCommand(const DriverArgs& args);       // CAPTION ID INDEX
int ClickCommand(const DriverArgs& args);        // CAPTION ID X
int EnabledCommand(const DriverArgs& args);      // CAPTION
int KeyCommand(const DriverArgs& args);          // CAPTION VIRTUAL-KEY
int SuspendCommand(const DriverArgs& args);      // CAPTION
int EndSessionCommand(const DriverArgs& args);   // CAPTION
int TypeCommand(const DriverArgs& args);         // CAPTION VIRTUAL-KEY...
int FocusCommand(const DriverArgs& args);        // CAPTION
int WaitFocusCommand(const DriverArgs& args);    // CAPTION ID
int CloseWindowCommand(const DriverArgs& args);  // CAPTION
int WaitClosedCommand(const DriverArgs& args);   // CAPTION
int SizeCommand(const DriverArgs& args);         // CAPTION W H
int RectCommand(const DriverArgs& args);         // CAPTION ID
int ScreenRectCommand(const DriverArgs& args);   // CAPTION ID (0: the window)
int PixelCommand(const DriverArgs& args);        // CAPTION ID X Y
int ClippedTextCommand(const DriverArgs& args);  // CAPTION
