#include "dialogs/win32/StatusBox.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// The status box as the dialogs' templates make it.
constexpr DWORD kTemplateStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_READONLY;

// A real edit, the size of Download Data's status box, in a window of its
// own; counts the whole-text copies (WM_SETTEXT) it is sent.
class TestEdit {
 public:
  explicit TestEdit(DWORD style)
      : parent_(CreateWindowExW(0, L"Static", L"status box test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)),
        edit_(CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"", style, 10, 10, 492, 134, parent_, nullptr,
                              GetModuleHandleW(nullptr), nullptr)) {
    SetWindowSubclass(edit_, CountCopies, 1, reinterpret_cast<DWORD_PTR>(&wholeCopies_));
    SetFocus(edit_);  // as when the user selects in it
  }
  ~TestEdit() {
    RemoveWindowSubclass(edit_, CountCopies, 1);
    DestroyWindow(parent_);
  }
  TestEdit(const TestEdit&) = delete;
  TestEdit& operator=(const TestEdit&) = delete;

  HWND Handle() const { return edit_; }
  int WholeCopies() const { return wholeCopies_; }

  std::wstring Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
    return text;
  }

  // A box that shows its last line does not scroll any further down.
  bool ShowsLastLine() const {
    const LRESULT first = SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(edit_, EM_LINESCROLL, 0, 1);
    return SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0) == first;
  }

  void Select(int start, int end) { SendMessageW(edit_, EM_SETSEL, start, end); }

 private:
  static LRESULT CALLBACK CountCopies(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR counter) {
    if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(counter);
    return DefSubclassProc(window, message, wParam, lParam);
  }

  HWND parent_;
  HWND edit_;
  int wholeCopies_ = 0;
};

std::wstring TextOf(const StatusText& status) { return status.Whole().text; }

// Words that wrap in the box, now and then one that has to be broken.
std::wstring RandomLine(std::mt19937& random) {
  std::uniform_int_distribution<int> percent(0, 99);
  if (percent(random) == 0) return std::wstring(3000, L'w') + L"\r\n";
  std::uniform_int_distribution<int> wordLength(1, 12);
  std::uniform_int_distribution<int> letter(L'a', L'z');
  std::wstring line;
  for (int words = std::uniform_int_distribution<int>(0, 30)(random); words > 0; --words) {
    line.append(static_cast<size_t>(wordLength(random)), static_cast<wchar_t>(letter(random)));
    line += L' ';
  }
  return line + L"\r\n";
}

// Rounds of random lines that fill the box and drop its oldest lines, some
// refreshes skipped so several rounds pile up, a user selection now and then,
// and once an append longer than the box: after every refresh the box holds the
// status text and shows its last line, and it was copied whole only at the
// start and after that append.
TEST(StatusBox, StaysEqualToItsTextThroughFillsDropsAndSelections) {
  TestEdit edit(kTemplateStyle);
  StatusBox box(edit.Handle());
  StatusText text;
  std::mt19937 random(1003);
  std::uniform_int_distribution<int> linesPerRound(1, 16);
  std::uniform_int_distribution<int> percent(0, 99);
  int expectedCopies = 1;  // emptying the box at the start
  bool overLongPending = false;
  for (int round = 0; round < 240; ++round) {
    for (int lines = linesPerRound(random); lines > 0; --lines) text.Append(RandomLine(random));
    if (round == 99) {
      std::wstring overLong;
      while (overLong.size() <= StatusText::kCapacity) overLong += RandomLine(random);
      text.Append(overLong);
      overLongPending = true;
    }
    if (percent(random) < 30) {
      std::uniform_int_distribution<int> at(0, GetWindowTextLengthW(edit.Handle()));
      edit.Select(at(random), at(random));
    }
    if (percent(random) < 30) continue;  // refreshed with the next round's lines

    box.Show(text);
    expectedCopies += overLongPending ? 1 : 0;
    overLongPending = false;
    ASSERT_TRUE(edit.Text() == TextOf(text)) << "round " << round;
    ASSERT_TRUE(edit.ShowsLastLine()) << "round " << round;
  }
  EXPECT_GT(text.Length(), StatusText::kCapacity - 3100) << "the box was full";
  EXPECT_EQ(expectedCopies, edit.WholeCopies());
}

TEST(StatusBox, ARefreshWithNothingNewLeavesTheUsersSelectionAndScrolling) {
  TestEdit edit(kTemplateStyle);
  StatusBox box(edit.Handle());
  StatusText text;
  for (int n = 0; n < 200; ++n) text.Append(L"Packet Read: " + std::to_wstring(n) + L"\r\n");
  box.Show(text);
  edit.Select(5, 40);
  SendMessageW(edit.Handle(), EM_LINESCROLL, 0, -1000);  // the user went back to the top
  box.Show(text);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(edit.Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(5u, start);
  EXPECT_EQ(40u, end);
  EXPECT_EQ(0, SendMessageW(edit.Handle(), EM_GETFIRSTVISIBLELINE, 0, 0));

  text.Append(L"Data read successfully.\r\n");
  box.Show(text);
  EXPECT_TRUE(edit.Text() == TextOf(text));
  EXPECT_TRUE(edit.ShowsLastLine()) << "a new line brings the user back to the end";
  EXPECT_EQ(1, edit.WholeCopies());
}

// An edit without a vertical scroll bar or ES_AUTOVSCROLL takes no line past
// its last visible one: the refresh sees that and copies the whole text.
TEST(StatusBox, ABoxThatRefusesNewLinesIsCopiedWhole) {
  TestEdit edit(WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY);
  StatusBox box(edit.Handle());
  StatusText text;
  for (int n = 0; n < 50; ++n) {
    text.Append(L"Packet Read: " + std::to_wstring(n) + L"\r\n");
    box.Show(text);
    ASSERT_TRUE(edit.Text() == TextOf(text)) << "line " << n;
  }
  EXPECT_GT(edit.WholeCopies(), 1);
}

}  // namespace
