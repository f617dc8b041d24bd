#pragma once
// Files the shell hands the program: one named on its command line (a double
// click on a data file), dropped on its window, or handed over by a second
// start of the program.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

// The first argument after the program's own name; nullopt when there is none.
std::optional<std::wstring> FileNamedOn(const wchar_t* commandLine);
// The first file of a drop; nullopt for a drop of no file. The drop stays the caller's.
std::optional<std::wstring> FirstDroppedFile(HDROP drop);

// A second start's message to the running program (WM_COPYDATA): the file it
// was started with, or none (empty); `path` is kept by the caller while it is sent.
COPYDATASTRUCT HandOverOf(const std::wstring& path);
// The file of a hand-over, empty for none; nullopt for data of any other kind
// or malformed, as another program may send anything.
std::optional<std::wstring> FileHandedOver(const COPYDATASTRUCT& data);
