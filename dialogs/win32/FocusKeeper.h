#pragma once
// Enables and disables a dialog's controls without the keyboard focus going
// with a disabled control (FocusRule). Enable runs on any thread, as the
// workers change the controls; the focus itself moves only on the dialog's
// thread, through WM_NEXTDLGCTL (a synchronous call from a worker).
#include <windows.h>

#include <mutex>

#include "dialogs/FocusRule.h"

class FocusKeeper {
 public:
  explicit FocusKeeper(int parkingId) : rule_(parkingId) {}

  // Any thread.
  void Enable(HWND dialog, int id, bool enabled);
  // The dialog's thread, once a job has ended and its controls are set.
  void JobEnded(HWND dialog);

 private:
  std::mutex mutex_;  // the rule, between the dialog's thread and the worker
  FocusRule rule_;
};
