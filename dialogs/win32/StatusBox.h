#pragma once
// Copies a dialog's status text into its status box (a read-only multi-line
// edit) and scrolls to the last line, without showing the box half-updated.
#include <windows.h>

#include "dialogs/StatusText.h"

void ShowStatusText(HWND statusBox, const StatusText& text);
