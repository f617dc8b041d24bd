#include "dialogs/win32/FocusKeeper.h"

#include <optional>

#include "dialogs/win32/FocusedControl.h"

namespace {

int FirstFocusableId(HWND dialog) {
  const HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  return first ? GetDlgCtrlID(first) : 0;
}

// As the dialog manager moves it (the default button follows); on the
// dialog's thread, whoever asks.
void MoveFocus(HWND dialog, std::optional<int> id) {
  if (!id) return;
  SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, *id)), TRUE);
}

}  // namespace

void FocusKeeper::Enable(HWND dialog, int id, bool enabled) {
  const HWND control = GetDlgItem(dialog, id);
  std::optional<int> target;
  if (!enabled) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      target = rule_.BeforeDisable(id, FocusedControlId(dialog));
    }
    MoveFocus(dialog, target);  // first: a disabled control would drop the focus
    EnableWindow(control, FALSE);
    return;
  }
  EnableWindow(control, TRUE);
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    target = rule_.AfterEnable(id, FocusedControlId(dialog));
  }
  MoveFocus(dialog, target);
}

void FocusKeeper::JobEnded(HWND dialog) {
  std::optional<int> target;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    const int cameFrom = rule_.CameFrom();
    const bool cameFromEnabled = cameFrom != 0 && IsWindowEnabled(GetDlgItem(dialog, cameFrom));
    target = rule_.AfterJob(FocusedControlId(dialog), cameFromEnabled, FirstFocusableId(dialog));
  }
  MoveFocus(dialog, target);
}
