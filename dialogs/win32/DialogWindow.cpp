#include "dialogs/win32/DialogWindow.h"

void CDialogWindow::ShowModal(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(dialogId), owner, DialogProc,
                  reinterpret_cast<LPARAM>(this));
}

// Binds the object at WM_INITDIALOG; messages before it never reach the
// object. An exception from a handler is swallowed: the dialog stays up.
INT_PTR CALLBACK CDialogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR fallback = FALSE;
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
    fallback = TRUE;
  }
  auto* object = reinterpret_cast<CDialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (object == nullptr) return fallback;
  if (message == WM_INITDIALOG) object->StoreWindow(window);
  try {
    return object->HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    return fallback;
  }
}
