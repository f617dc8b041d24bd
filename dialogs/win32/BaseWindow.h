#pragma once
// What every tool dialog shares beneath its own controls: its window, its face
// (background brush and owner-drawn group frames) and its message boxes.
#include <windows.h>

#include <memory>
#include <vector>

#include "dialogs/win32/DialogWindow.h"
#include "dialogs/win32/GdiHandles.h"
#include "dialogs/win32/GroupLabel.h"

class CBaseWindow : public CDialogWindow {
 public:
  explicit CBaseWindow(int dialogId);

  HWND Window() const { return hwnd; }
  int OuterWidth() const;
  int OuterHeight() const;
  HWND Control(int id) const { return GetDlgItem(hwnd, id); }

  // The face of the dialog: colour messages, background, painting and the
  // group frames. 0 for any other message.
  INT_PTR HandleCommonMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Replaces group box `id` by an owner-drawn label with its caption and
  // rectangle; returns the label's window.
  HWND ReplaceGroupBox(int id);
  // Null when `window` is not one of this dialog's labels.
  const GroupLabel* FindGroupLabel(HWND window) const;

  // String-table message boxes owned by the dialog; each returns the box's answer.
  int ShowMessage(UINT stringId, UINT type) const;
  int ShowError(UINT stringId) const { return ShowMessage(stringId, MB_ICONERROR); }
  int ShowWarning(UINT stringId) const { return ShowMessage(stringId, MB_ICONWARNING); }

 protected:
  void StoreWindow(HWND window) override { hwnd = window; }

  HWND hwnd = nullptr;
  std::vector<std::unique_ptr<GroupLabel>> groupLabels;
  SolidBrush backgroundBrush;

 private:
  INT_PTR EraseBackground(HDC dc);
  INT_PTR DrawItem(const DRAWITEMSTRUCT& item) const;
  RECT WindowBounds() const;
};
