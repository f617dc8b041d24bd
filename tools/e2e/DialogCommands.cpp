#include "tools/e2e/DialogCommands.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "dialogs/win32/FocusedControl.h"
#include "tools/e2e/DriverWindows.h"

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "zeldrive: %s\n", what);
  return 1;
}

int Number(const std::wstring& text) { return static_cast<int>(std::wcstol(text.c_str(), nullptr, 0)); }

// A dialog by caption, or any other top-level window of that title.
HWND Window(const std::wstring& caption) {
  return WaitForWindow(
      [&caption]() -> HWND {
        if (const HWND dialog = FindDialog(caption)) return dialog;
        const HWND window = FindWindowW(nullptr, caption.c_str());
        return window && IsWindowVisible(window) ? window : nullptr;
      },
      DefaultTimeoutMs());
}

// The control `args[1]` of the window `args[0]`; null (and said) when either is missing.
HWND ControlOf(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) {
    Fail("no such window");
    return nullptr;
  }
  const HWND control = GetDlgItem(window, Number(args[1]));
  if (!control) Fail("no such control");
  return control;
}

// WM_GETTEXT itself: GetWindowText does not ask a control of another process.
std::wstring ControlText(HWND control) {
  const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = SendMessageW(control, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(copied));
  return text;
}

bool HasLine(const std::wstring& text, const std::wstring& line) {
  std::wistringstream lines(text);
  for (std::wstring each; std::getline(lines, each);) {
    if (!each.empty() && each.back() == L'\r') each.pop_back();
    if (each == line) return true;
  }
  return false;
}

// Polls every 2 ms, for the timing commands and for a press that must land
// inside a short job; false after a minute. The text is read again only when
// its length changed, or 50 ms on: copying a long status box 500 times a second
// would load the very dialog being timed.
bool AwaitLine(HWND control, const std::wstring& line) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(DefaultTimeoutMs() * 4);
  constexpr auto kRereadAnyway = std::chrono::milliseconds(50);
  LRESULT lengthRead = -1;
  auto read = Clock::now();
  for (;;) {
    const LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    if (length != lengthRead || Clock::now() - read >= kRereadAnyway) {
      if (HasLine(ControlText(control), line)) return true;
      lengthRead = length;
      read = Clock::now();
    }
    if (Clock::now() > deadline) return false;
    Sleep(2);
  }
}

void AddKeyPress(std::vector<INPUT>& keys, int virtualKey, bool up) {
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = static_cast<WORD>(virtualKey);
  key.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  keys.push_back(key);
}

// Posted: the button may open a modal box.
void PostClick(HWND button) {
  PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

}  // namespace

int PressCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  PostClick(control);
  return 0;
}

// The buttons are found first, so that they are pressed the moment the line shows.
int PressAtLineCommand(const DriverArgs& args) {
  const HWND shown = ControlOf(args);
  if (!shown) return 1;
  std::vector<HWND> buttons;
  for (size_t i = 4; i < args.size(); ++i) {
    const HWND button = ControlOf({args[3], args[i]});
    if (!button) return 1;
    buttons.push_back(button);
  }
  if (!AwaitLine(shown, args[2])) return Fail("the line did not appear");
  for (const HWND button : buttons) PostClick(button);
  return 0;
}

// As a mouse click does: a radio button also clears the others of its group.
// Sent, so the dialog has acted on it when the command ends.
int ClickButtonCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  SendMessageW(control, BM_CLICK, 0, 0);
  return 0;
}

int CheckCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  SendMessageW(control, BM_SETCHECK, Number(args[2]) ? BST_CHECKED : BST_UNCHECKED, 0);
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
               reinterpret_cast<LPARAM>(control));
  return 0;
}

int SetTextCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[2].c_str()));
  return 0;
}

// The press is sent, so its handler has run, and the text follows at once:
// what a worker the press started reads later is the new text.
int PressThenSetTextCommand(const DriverArgs& args) {
  const HWND button = ControlOf(args);
  const HWND box = ControlOf({args[0], args[2]});
  if (!button || !box) return 1;
  SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(args[3].c_str()));
  return 0;
}

int TextCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  std::printf("%ls\n", ControlText(control).c_str());
  return 0;
}

int WaitLineCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  const HWND found = WaitForWindow([&]() { return HasLine(ControlText(control), args[2]) ? control : nullptr; },
                                   DefaultTimeoutMs());
  return found ? 0 : Fail("the line did not appear");
}

// Presses a button and prints the milliseconds until a control's text has the line.
int TimeLineCommand(const DriverArgs& args) {
  const HWND button = ControlOf({args[0], args[1]});
  const HWND shown = ControlOf({args[0], args[2]});
  if (!button || !shown) return 1;
  const auto start = std::chrono::steady_clock::now();
  PostClick(button);
  if (!AwaitLine(shown, args[3])) return Fail("the line did not appear");
  std::printf("%.0f\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  return 0;
}

// Waits for the line FROM in a control's text, then prints the milliseconds
// until the line TO appears too.
int TimeBetweenCommand(const DriverArgs& args) {
  const HWND shown = ControlOf(args);
  if (!shown) return 1;
  if (!AwaitLine(shown, args[2])) return Fail("the first line did not appear");
  const auto start = std::chrono::steady_clock::now();
  if (!AwaitLine(shown, args[3])) return Fail("the second line did not appear");
  std::printf("%.0f\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
  return 0;
}

// Sent, so the window has acted on the choice when the command ends.
int ChooseCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  SendMessageW(control, CB_SETCURSEL, Number(args[2]), 0);
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(control));
  return 0;
}

// A left click at x, halfway down the control.
int ClickCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  RECT client{};
  GetClientRect(control, &client);
  const LPARAM at = MAKELPARAM(Number(args[2]), client.bottom / 2);
  SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(control, WM_LBUTTONUP, 0, at);
  return 0;
}

// The ids of the window's enabled controls, one per line.
int EnabledCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  EnumChildWindows(
      window,
      [](HWND control, LPARAM) -> BOOL {
        if (IsWindowEnabled(control) && GetDlgCtrlID(control) > 0) std::printf("%d\n", GetDlgCtrlID(control));
        return TRUE;
      },
      0);
  return 0;
}

int KeyCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  PostMessageW(window, WM_KEYDOWN, Number(args[1]), 0);
  return 0;
}

// As the system tells every top-level window before it sleeps.
int SuspendCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  PostMessageW(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  return 0;
}

// As a forced log-off tells every top-level window, whatever it answered
// before; returns once the window has handled it.
int EndSessionCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, DefaultTimeoutMs(), &result)
             ? 0
             : Fail("the window did not handle it in time");
}

// As the keyboard types them: to the window in front, to its focused control;
// "A+B" holds A while B is typed.
int TypeCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  SetForegroundWindow(window);
  if (!WaitForWindow([window] { return GetForegroundWindow() == window ? window : nullptr; }, DefaultTimeoutMs())) {
    return Fail("the window did not come to the front");
  }
  std::vector<INPUT> keys;
  for (size_t i = 1; i < args.size(); ++i) {
    const size_t plus = args[i].find(L'+');
    if (plus == std::wstring::npos) {
      AddKeyPress(keys, Number(args[i]), false);
      AddKeyPress(keys, Number(args[i]), true);
    } else {
      AddKeyPress(keys, Number(args[i].substr(0, plus)), false);
      AddKeyPress(keys, Number(args[i].substr(plus + 1)), false);
      AddKeyPress(keys, Number(args[i].substr(plus + 1)), true);
      AddKeyPress(keys, Number(args[i].substr(0, plus)), true);
    }
  }
  const UINT sent = SendInput(static_cast<UINT>(keys.size()), keys.data(), sizeof(INPUT));
  return sent == keys.size() ? 0 : Fail("the keys were not sent");
}

int FocusCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  std::printf("%d\n", FocusedControlId(window));
  return 0;
}

int WaitFocusCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  const int id = Number(args[1]);
  const bool focused =
      WaitForWindow([window, id] { return FocusedControlId(window) == id ? window : nullptr; }, DefaultTimeoutMs());
  if (focused) return 0;
  std::fprintf(stderr, "zeldrive: the focus is on %d\n", FocusedControlId(window));
  return 1;
}

int CloseWindowCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  PostMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

int WaitClosedCommand(const DriverArgs& args) {
  const HWND window = FindDialog(args[0]);
  return !window || WaitUntilGone(window, DefaultTimeoutMs()) ? 0 : Fail("the window is still there");
}

// Prints the outer size the window took: a minimum track size may refuse less.
int SizeCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  RECT frame{};
  GetWindowRect(window, &frame);
  // Only a sizing border can be dragged.
  if (!(GetWindowLongPtrW(window, GWL_STYLE) & WS_THICKFRAME)) {
    std::printf("%ld %ld\n", frame.right - frame.left, frame.bottom - frame.top);
    return 0;
  }
  // A drag of the frame: the system asks the window for its limits first.
  MINMAXINFO limits{};
  SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const int width = std::max<int>(Number(args[1]), limits.ptMinTrackSize.x);
  const int height = std::max<int>(Number(args[2]), limits.ptMinTrackSize.y);
  SetWindowPos(window, nullptr, frame.left, frame.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(window, &frame);
  std::printf("%ld %ld\n", frame.right - frame.left, frame.bottom - frame.top);
  return 0;
}

// x y width height in the window's client coordinates.
int RectCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  RECT bounds{};
  GetWindowRect(control, &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  std::printf("%ld %ld %ld %ld\n", bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  return 0;
}

// x y width height on the screen, of a control or (ID 0) of the window itself.
int ScreenRectCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  const HWND shown = Number(args[1]) == 0 ? window : GetDlgItem(window, Number(args[1]));
  if (!shown) return Fail("no such control");
  RECT bounds{};
  GetWindowRect(shown, &bounds);
  std::printf("%ld %ld %ld %ld\n", bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  return 0;
}

// The colour on screen at (x, y) of the control's client area: r g b.
int PixelCommand(const DriverArgs& args) {
  const HWND control = ControlOf(args);
  if (!control) return 1;
  POINT at{Number(args[2]), Number(args[3])};
  ClientToScreen(control, &at);
  const COLORREF colour = ScreenPixel(at);
  std::printf("%d %d %d\n", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return 0;
}

namespace {

// The dialog font a control draws its text in: its own when this process can
// read it, else the templates' at the screen's DPI.
class ControlFont {
 public:
  explicit ControlFont(HWND control) {
    LOGFONTW font{};
    const auto shown = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (!shown || GetObjectW(shown, sizeof font, &font) != sizeof font) {
      const HDC screen = GetDC(nullptr);
      font.lfHeight = -MulDiv(10, GetDeviceCaps(screen, LOGPIXELSY), 72);
      ReleaseDC(nullptr, screen);
      font.lfWeight = FW_NORMAL;
      wcscpy_s(font.lfFaceName, L"Microsoft Sans Serif");
    }
    font_ = CreateFontIndirectW(&font);
  }
  ~ControlFont() { DeleteObject(font_); }
  ControlFont(const ControlFont&) = delete;
  ControlFont& operator=(const ControlFont&) = delete;
  HFONT Get() const { return font_; }

 private:
  HFONT font_;
};

enum class TextKind { None, Wrapped, OneLine, PushButton, CheckBox };

TextKind KindOf(HWND control) {
  wchar_t className[32] = L"";
  GetClassNameW(control, className, 32);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  if (_wcsicmp(className, L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) return TextKind::Wrapped;
    return type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE ? TextKind::OneLine : TextKind::None;
  }
  if (_wcsicmp(className, L"Button") != 0) return TextKind::None;
  switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return TextKind::PushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
      return TextKind::CheckBox;
    default:
      return TextKind::None;
  }
}

// The room a control leaves its text: a push button's edges, a check box's box.
RECT TextRoom(HWND control, TextKind kind) {
  RECT room{};
  GetClientRect(control, &room);
  if (kind == TextKind::PushButton) InflateRect(&room, -2 * GetSystemMetrics(SM_CXEDGE), -GetSystemMetrics(SM_CYEDGE));
  if (kind == TextKind::CheckBox) room.left += GetSystemMetrics(SM_CXMENUCHECK) + GetSystemMetrics(SM_CXEDGE);
  return room;
}

// Prints "ID WIDTH HEIGHT ROOM-WIDTH ROOM-HEIGHT TEXT" when the text needs
// more than its room; true when it fits.
bool TextFits(HWND control, TextKind kind, const std::wstring& text) {
  const RECT room = TextRoom(control, kind);
  const ControlFont font(control);
  const HDC dc = GetDC(control);
  const HGDIOBJ replaced = SelectObject(dc, font.Get());
  RECT needed{0, 0, room.right - room.left, 0};
  const UINT wrap = kind == TextKind::Wrapped ? DT_WORDBREAK : DT_SINGLELINE;
  DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_EXPANDTABS | wrap);
  SelectObject(dc, replaced);
  ReleaseDC(control, dc);
  const bool fits = needed.right <= room.right - room.left && needed.bottom <= room.bottom - room.top;
  if (!fits) {
    std::printf("%d %ld %ld %ld %ld %ls\n", GetDlgCtrlID(control), needed.right, needed.bottom,
                room.right - room.left, room.bottom - room.top, text.c_str());
  }
  return fits;
}

}  // namespace

// Lists each label, button and check box of the window whose text, in its
// font, needs more room than the control gives it; then "checked N".
int ClippedTextCommand(const DriverArgs& args) {
  const HWND window = Window(args[0]);
  if (!window) return Fail("no such window");
  struct Tally {
    int checked = 0;
    int clipped = 0;
  } tally;
  EnumChildWindows(
      window,
      [](HWND control, LPARAM data) -> BOOL {
        auto& counts = *reinterpret_cast<Tally*>(data);
        const TextKind kind = KindOf(control);
        const std::wstring text = ControlText(control);
        if (kind == TextKind::None || text.empty() || !IsWindowVisible(control)) return TRUE;
        ++counts.checked;
        if (!TextFits(control, kind, text)) ++counts.clipped;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tally));
  std::printf("checked %d\n", tally.checked);
  return tally.clipped == 0 ? 0 : 1;
}
