// zeldrive: drives the running program from another Windows program in the same
// desktop, for end-to-end tests. One command per run:
//
//   zeldrive wait-main                  waits for the main window
//   zeldrive title                      prints the main window's title
//   zeldrive client                     prints the client area: screen x y, width height
//   zeldrive window-size                prints the window's width and height
//   zeldrive menu ID                    chooses menu item ID
//   zeldrive file-dialog CAPTION PATH   fills the file name of that dialog and confirms it
//   zeldrive cancel-dialog CAPTION      cancels that dialog
//   zeldrive message-box ok|yes|no      prints a message box's caption and text, answers it
//   zeldrive controls CAPTION           lists that dialog's controls: id, class, text
//   zeldrive no-dialog MS               fails if the program shows a dialog within MS
//   zeldrive resize W H                 resizes the window as a drag ending there would
//   zeldrive move X Y                   moves the window as a drag ending there would
//   zeldrive maximise                   maximises the window as its title-bar button does
//   zeldrive repaint                    has the window repaint its whole client area
//   zeldrive fault NAME                 arms a DirectDraw fault of zelusb-faults:
//                                       set-up-fails or surfaces-lost
//   zeldrive close                      asks the main window to close
//   zeldrive post-quit                  posts WM_QUIT to the main window's thread, as a
//                                       modal loop may be handed one
//   zeldrive wait-gone                  waits until the main window is gone
//   zeldrive wait-colour R G B          waits until the client area's centre shows that colour
//   zeldrive frames                     prints how many live-trace frames the program drew
//   zeldrive windows                    lists the visible top-level windows, topmost first
//   zeldrive main-windows               prints how many main windows exist (of any program)
//
// and on the controls of a window found by its caption (a dialog of the
// program or of the system, or the simulator window), controls by their ids:
//
//   zeldrive press CAPTION ID           clicks a button
//   zeldrive press-at-line CAPTION ID LINE WINDOW BUTTON...
//                                       waits until a control's text has that whole line,
//                                       then at once clicks those buttons of WINDOW in turn
//   zeldrive check CAPTION ID 0|1       sets a check box as a click would
//   zeldrive click-button CAPTION ID    clicks a button or radio button as the mouse does
//                                       (and waits for its handler: no message box there)
//   zeldrive set-text CAPTION ID TEXT   replaces a control's text
//   zeldrive press-then-set-text CAPTION BUTTON-ID ID TEXT
//                                       presses a button, waits for its handler, then
//                                       replaces a control's text at once
//   zeldrive text CAPTION ID            prints a control's text
//   zeldrive wait-line CAPTION ID LINE  waits until a control's text has that whole line
//   zeldrive time-line CAPTION BUTTON ID LINE
//                                       presses a button, prints the ms until that line
//   zeldrive time-between CAPTION ID FROM TO
//                                       prints the ms from the line FROM to the line TO
//   zeldrive choose CAPTION ID INDEX    chooses an entry of a drop-down list
//   zeldrive click CAPTION ID X         clicks a control at x, halfway down
//   zeldrive enabled CAPTION            prints the ids of the enabled controls
//   zeldrive key CAPTION VK             sends a key press (27 is Escape)
//   zeldrive suspend CAPTION            tells a window the machine is about to sleep
//   zeldrive end-session CAPTION        tells a window the session ends now, as a forced log-off does
//   zeldrive type CAPTION VK...         brings the window to the front and types those
//                                       keys as the keyboard does (9 Tab, 32 Space,
//                                       37 Left, 39 Right, 36 Home, 35 End); VK+VK
//                                       holds the first while it types the second
//                                       (18+67 is Alt+C)
//   zeldrive focus CAPTION              prints the id of the control holding the focus, 0 none
//   zeldrive wait-focus CAPTION ID      waits until that control holds the focus
//   zeldrive close-window CAPTION       asks a window to close
//   zeldrive wait-closed CAPTION        waits until that dialog is gone
//   zeldrive size CAPTION W H           resizes a window as a drag of its border would
//                                       (not at all without one); prints its size
//   zeldrive rect CAPTION ID            prints a control's x y width height in the window
//   zeldrive screen-rect CAPTION ID     prints them on the screen; ID 0 is the window itself
//   zeldrive pixel CAPTION ID X Y       prints the colour on screen at x y of a control
//   zeldrive clipped-text CAPTION       lists the labels, buttons and check boxes whose
//                                       text needs more room than they give it; then
//                                       "checked N"; fails when any does
//   zeldrive graph-layout               has the program log its graph's layout; prints its DPI
//   zeldrive rows CAPTION ID            prints a ListView's rows, one a line, cells
//                                       joined by tabs
//   zeldrive clipboard FILE             writes the clipboard's text to FILE as UTF-8,
//                                       byte for byte
//   zeldrive empty-clipboard            empties the clipboard
//
// Exits 0 on success, 1 when a window did not appear or the command failed, 2
// on a usage error. Every wait ends after 15 s.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "tools/e2e/DialogCommands.h"
#include "tools/e2e/DriverWindows.h"
#include "tools/e2e/FaultMessage.h"
#include "tools/e2e/ReadCommands.h"
#include "view/win32/DrawingFaults.h"
#include "view/win32/Graph.h"

namespace {

constexpr int kMessageTextId = 0xFFFF;  // a message box's static text
constexpr int kFileNameCombo = 0x47C;   // explorer-style dialogs: an edit inside this combo box
constexpr int kFileNameEdit = 0x480;    // older dialogs: a plain edit

using Args = std::vector<std::wstring>;

int Fail(const char* what) {
  std::fprintf(stderr, "zeldrive: %s\n", what);
  return 1;
}

void PrintLine(const std::wstring& text) {
  std::printf("%ls\n", text.c_str());
  std::fflush(stdout);
}

int IntArg(const Args& args, size_t i) { return static_cast<int>(std::wcstol(args[i].c_str(), nullptr, 10)); }

HWND MainWindow() { return WaitForWindow(FindMainWindow, DefaultTimeoutMs()); }

HWND Dialog(const std::wstring& caption) {
  return WaitForWindow([&caption] { return FindDialog(caption); }, DefaultTimeoutMs());
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

BOOL CALLBACK MatchEdit(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (std::wstring(className) != L"Edit") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The combo box may be a ComboBoxEx holding a ComboBox holding the edit.
HWND FileNameBox(HWND dialog) {
  HWND edit = nullptr;
  if (const HWND combo = GetDlgItem(dialog, kFileNameCombo)) EnumChildWindows(combo, MatchEdit, reinterpret_cast<LPARAM>(&edit));
  return edit ? edit : GetDlgItem(dialog, kFileNameEdit);
}

int WaitMain(const Args&) { return MainWindow() ? 0 : Fail("no main window"); }

int Title(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  PrintLine(WindowText(main));
  return 0;
}

int Client(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  RECT client{};
  GetClientRect(main, &client);
  POINT origin{0, 0};
  ClientToScreen(main, &origin);
  std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
  return 0;
}

// Of the window a command worked on, not one found anew: a drawing that cannot
// be made at the change ends the program.
int PrintWindowSize(HWND main) {
  RECT frame{};
  if (!GetWindowRect(main, &frame)) return Fail("the main window is gone");
  std::printf("%ld %ld\n", frame.right - frame.left, frame.bottom - frame.top);
  return 0;
}

int WindowSize(const Args&) {
  const HWND main = MainWindow();
  return main ? PrintWindowSize(main) : Fail("no main window");
}

int Windows(const Args&) {
  EnumWindows(
      [](HWND window, LPARAM) -> BOOL {
        if (!IsWindowVisible(window)) return TRUE;
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        RECT frame{};
        GetWindowRect(window, &frame);
        std::printf("%ls \"%ls\" %ld %ld %ld %ld\n", className, WindowText(window).c_str(), frame.left, frame.top,
                    frame.right, frame.bottom);
        return TRUE;
      },
      0);
  return 0;
}

int MainWindows(const Args&) {
  int count = 0;
  EnumWindows(
      [](HWND window, LPARAM counted) -> BOOL {
        wchar_t className[32] = {};
        GetClassNameW(window, className, 32);
        if (std::wstring(className) == L"AltInterface") ++*reinterpret_cast<int*>(counted);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  std::printf("%d\n", count);
  return 0;
}

int Frames(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  std::printf("%lld\n", static_cast<long long>(SendMessageW(main, RegisterWindowMessageW(kLiveTraceFramesMessage), 0, 0)));
  return 0;
}

int GraphLayout(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  std::printf("%lld\n", static_cast<long long>(SendMessageW(main, RegisterWindowMessageW(kGraphLayoutMessage), 0, 0)));
  return 0;
}

int Menu(const Args& args) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  // Posted: the command may open a modal dialog.
  PostMessageW(main, WM_COMMAND, static_cast<WPARAM>(std::wcstoul(args[0].c_str(), nullptr, 10)), 0);
  return 0;
}

int FileDialog(const Args& args) {
  const HWND dialog = Dialog(args[0]);
  if (!dialog) return Fail("no file dialog");
  const HWND nameBox = FileNameBox(dialog);
  if (!nameBox) return Fail("no file name box");
  SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[1].c_str()));
  PressButton(dialog, IDOK);
  return WaitUntilGone(dialog, DefaultTimeoutMs()) ? 0 : Fail("file dialog stayed open");
}

int CancelDialog(const Args& args) {
  const HWND dialog = Dialog(args[0]);
  if (!dialog) return Fail("no dialog");
  PressButton(dialog, IDCANCEL);
  return WaitUntilGone(dialog, DefaultTimeoutMs()) ? 0 : Fail("dialog stayed open");
}

int MessageBoxAnswer(const Args& args) {
  static const std::map<std::wstring, int> kButtons{{L"ok", IDOK}, {L"yes", IDYES}, {L"no", IDNO}};
  const auto button = kButtons.find(args[0]);
  if (button == kButtons.end()) return Fail("unknown button");
  const HWND box = WaitForWindow(FindAnyDialogOfProgram, DefaultTimeoutMs());
  if (!box) return Fail("no message box");
  PrintLine(WindowText(box));
  PrintLine(WindowText(GetDlgItem(box, kMessageTextId)));
  PressButton(box, button->second);
  return WaitUntilGone(box, DefaultTimeoutMs()) ? 0 : Fail("message box stayed open");
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  wchar_t className[64] = {};
  GetClassNameW(control, className, 64);
  std::printf("0x%X %ls \"%ls\"\n", static_cast<unsigned>(GetDlgCtrlID(control)), className,
              WindowText(control).c_str());
  return TRUE;
}

int Controls(const Args& args) {
  const HWND dialog = Dialog(args[0]);
  if (!dialog) return Fail("no dialog");
  EnumChildWindows(dialog, PrintControl, 0);
  return 0;
}

int NoDialog(const Args& args) {
  const HWND dialog = WaitForWindow(FindAnyDialogOfProgram, std::wcstoul(args[0].c_str(), nullptr, 10));
  if (!dialog) return 0;
  PrintLine(WindowText(dialog));
  return Fail("a dialog appeared");
}

// A drag ends with WM_EXITSIZEMOVE; the move itself is an ordinary size change.
int Resize(const Args& args) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  SetWindowPos(main, nullptr, 0, 0, IntArg(args, 0), IntArg(args, 1), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(main, WM_EXITSIZEMOVE, 0, 0);
  return PrintWindowSize(main);
}

int Move(const Args& args) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  SetWindowPos(main, nullptr, IntArg(args, 0), IntArg(args, 1), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(main, WM_EXITSIZEMOVE, 0, 0);
  RECT frame{};
  GetWindowRect(main, &frame);
  std::printf("%ld %ld\n", frame.left, frame.top);
  return 0;
}

int Maximise(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  SendMessageW(main, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  return PrintWindowSize(main);
}

int Repaint(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  return RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW) ? 0 : Fail("no repaint");
}

int ArmFault(const Args& args) {
  static const std::map<std::wstring, DrawingFault> kFaults{{L"set-up-fails", DrawingFault::SetUpFails},
                                                           {L"surfaces-lost", DrawingFault::SurfacesLost}};
  const auto fault = kFaults.find(args[0]);
  if (fault == kFaults.end()) return Fail("unknown fault");
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  SendMessageW(main, RegisterWindowMessageW(kArmDrawingFaultMessage), static_cast<WPARAM>(fault->second), 0);
  return 0;
}

int Close(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  PostMessageW(main, WM_CLOSE, 0, 0);
  return 0;
}

int PostQuit(const Args&) {
  const HWND main = MainWindow();
  if (!main) return Fail("no main window");
  return PostThreadMessageW(GetWindowThreadProcessId(main, nullptr), WM_QUIT, 0, 0) ? 0 : Fail("WM_QUIT not posted");
}

int WaitGone(const Args&) {
  const HWND main = FindWindowW(L"AltInterface", nullptr);
  return !main || WaitUntilGone(main, DefaultTimeoutMs()) ? 0 : Fail("main window still there");
}

COLORREF ClientCentreColour(HWND main) {
  RECT client{};
  GetClientRect(main, &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ClientToScreen(main, &centre);
  return ScreenPixel(centre);
}

int WaitColour(const Args& args) {
  const auto channel = [&args](size_t i) { return static_cast<BYTE>(std::wcstoul(args[i].c_str(), nullptr, 10)); };
  const COLORREF wanted = RGB(channel(0), channel(1), channel(2));
  const HWND shown = WaitForWindow(
      [wanted]() -> HWND {
        const HWND main = FindMainWindow();
        return main && ClientCentreColour(main) == wanted ? main : nullptr;
      },
      DefaultTimeoutMs());
  return shown ? 0 : Fail("the colour did not appear");
}

struct Command {
  size_t argumentCount;
  int (*run)(const Args&);
  bool takesMore = false;  // argumentCount is the least it takes
};

const std::map<std::wstring, Command> kCommands{
    {L"wait-main", {0, WaitMain}},       {L"title", {0, Title}},
    {L"client", {0, Client}},            {L"window-size", {0, WindowSize}},
    {L"menu", {1, Menu}},                {L"file-dialog", {2, FileDialog}},
    {L"cancel-dialog", {1, CancelDialog}}, {L"message-box", {1, MessageBoxAnswer}},
    {L"controls", {1, Controls}},        {L"no-dialog", {1, NoDialog}},       {L"resize", {2, Resize}},
    {L"close", {0, Close}},              {L"wait-gone", {0, WaitGone}},
    {L"post-quit", {0, PostQuit}},
    {L"wait-colour", {3, WaitColour}},   {L"move", {2, Move}},
    {L"maximise", {0, Maximise}},        {L"repaint", {0, Repaint}},
    {L"fault", {1, ArmFault}},
    {L"press", {2, PressCommand}},       {L"check", {3, CheckCommand}},
    {L"press-at-line", {5, PressAtLineCommand, true}},
    {L"click-button", {2, ClickButtonCommand}},
    {L"set-text", {3, SetTextCommand}},  {L"text", {2, TextCommand}},
    {L"press-then-set-text", {4, PressThenSetTextCommand}},
    {L"wait-line", {3, WaitLineCommand}}, {L"choose", {3, ChooseCommand}},
    {L"time-line", {4, TimeLineCommand}}, {L"time-between", {4, TimeBetweenCommand}},
    {L"frames", {0, Frames}},
    {L"windows", {0, Windows}},
    {L"click", {3, ClickCommand}},       {L"enabled", {1, EnabledCommand}},
    {L"key", {2, KeyCommand}},           {L"close-window", {1, CloseWindowCommand}},
    {L"suspend", {1, SuspendCommand}},   {L"end-session", {1, EndSessionCommand}},
    {L"type", {2, TypeCommand, true}},
    {L"focus", {1, FocusCommand}},       {L"wait-focus", {2, WaitFocusCommand}},
    {L"main-windows", {0, MainWindows}},
    {L"wait-closed", {1, WaitClosedCommand}}, {L"size", {3, SizeCommand}},
    {L"rect", {2, RectCommand}},         {L"screen-rect", {2, ScreenRectCommand}},
    {L"pixel", {4, PixelCommand}},       {L"clipped-text", {1, ClippedTextCommand}},
    {L"graph-layout", {0, GraphLayout}},
    {L"rows", {2, RowsCommand}},         {L"clipboard", {1, ClipboardCommand}},
    {L"empty-clipboard", {0, EmptyClipboardCommand}},
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  // Sizes, fonts and pixels as the DPI-aware program has them, not scaled for a 96-DPI caller.
  SetProcessDPIAware();
  const auto command = kCommands.find(argv[1]);
  const size_t given = static_cast<size_t>(argc - 2);
  if (command == kCommands.end() || given < command->second.argumentCount ||
      (given > command->second.argumentCount && !command->second.takesMore)) {
    std::fprintf(stderr, "zeldrive: usage error; see the comment at the top of its source\n");
    return 2;
  }
  return command->second.run(Args(argv + 2, argv + argc));
}
