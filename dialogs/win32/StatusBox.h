#pragma once
// A dialog's status box (a read-only multi-line edit) kept equal to its status
// text. A refresh removes the lines the text has dropped and appends what is
// new: copying a full box whole takes a good part of a second under Wine.
#include <windows.h>

#include "dialogs/StatusText.h"

class StatusBox {
 public:
  // Empties `box` and lets it hold a full status text.
  explicit StatusBox(HWND box);

  // Brings the box up to `text` and scrolls to its last line, without showing
  // it half-updated; does nothing when the text has not changed. The user's
  // selection goes, and the caret ends at the end. Main thread.
  void Show(const StatusText& text);

 private:
  // False when the box did not take the change as asked.
  bool Mend(const StatusChange& change);
  void ReplaceRange(int start, int end, const wchar_t* with);
  void ScrollToLastLine();
  int Length() const;

  HWND box_;  // the dialog owns it
  StatusRange shown_;
};
