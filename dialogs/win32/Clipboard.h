#pragma once
// Text put on the clipboard for other programs to paste.
#include <windows.h>

#include <string>

// Replaces the clipboard's content with `text` (CF_UNICODETEXT). False when
// another program holds the clipboard or there is no memory for the text.
bool PutTextOnClipboard(HWND owner, const std::wstring& text);
