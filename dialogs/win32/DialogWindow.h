#pragma once
// The root of every tool dialog: a dialog template run modally, whose messages
// reach the object through one dialog procedure.
#include <windows.h>

class CDialogWindow {
 public:
  explicit CDialogWindow(int dialogId) : dialogId(dialogId) {}
  virtual ~CDialogWindow() = default;
  CDialogWindow(const CDialogWindow&) = delete;
  CDialogWindow& operator=(const CDialogWindow&) = delete;

  // Runs template `dialogId` of the program as a modal dialog owned by `owner`;
  // returns when the dialog has ended.
  void ShowModal(HWND owner);

  // The dialog procedure's result for the message: TRUE/FALSE, or a brush.
  virtual INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  // Given the dialog's window once, with WM_INITDIALOG: workers read it from
  // then on, so it is never written again.
  virtual void StoreWindow(HWND window) = 0;

  const int dialogId;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
