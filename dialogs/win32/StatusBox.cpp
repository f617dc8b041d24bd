#include "dialogs/win32/StatusBox.h"

#include "dialogs/win32/DrawingPause.h"

StatusBox::StatusBox(HWND box) : box_(box) {
  // EM_REPLACESEL obeys the limit (30,000 characters by default); WM_SETTEXT does not.
  SendMessageW(box_, EM_SETLIMITTEXT, StatusText::kCapacity, 0);
  SendMessageW(box_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
}

void StatusBox::Show(const StatusText& text) {
  StatusChange change = text.ChangeSince(shown_);
  if (change.range == shown_) return;
  const DrawingPause pause(box_);
  if (change.mendable && !Mend(change)) change = text.Whole();
  if (!change.mendable) SendMessageW(box_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(change.text.c_str()));
  shown_ = change.range;
  ScrollToLastLine();
}

bool StatusBox::Mend(const StatusChange& change) {
  if (change.dropped > 0) ReplaceRange(0, static_cast<int>(change.dropped), L"");
  if (!change.text.empty()) {
    const int end = Length();
    ReplaceRange(end, end, change.text.c_str());
  }
  // A refused or cut replacement (an edit without ES_AUTOVSCROLL or
  // WS_VSCROLL takes no line past its last visible one) shows in the length.
  return Length() == static_cast<int>(change.Length());
}

void StatusBox::ReplaceRange(int start, int end, const wchar_t* with) {
  SendMessageW(box_, EM_SETSEL, start, end);
  SendMessageW(box_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(with));  // FALSE: keeps no undo copy
}

// By the line count, not 0x7FFFFFFF: Wine adds that to the first visible
// line, which overflows once the box is scrolled.
void StatusBox::ScrollToLastLine() {
  SendMessageW(box_, EM_LINESCROLL, 0, SendMessageW(box_, EM_GETLINECOUNT, 0, 0));
}

int StatusBox::Length() const { return GetWindowTextLengthW(box_); }
