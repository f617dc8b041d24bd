#pragma once
// "DialogClass", the window class every dialog template names, so that all
// dialogs carry the program icon.
constexpr wchar_t kDialogClassName[] = L"DialogClass";

void RegisterDialogClass();
