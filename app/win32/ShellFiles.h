#pragma once
// Files the shell hands the program: one named on its command line (a double
// click on a data file) or dropped on its window.
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

// The first argument after the program's own name; nullopt when there is none.
std::optional<std::wstring> FileNamedOn(const wchar_t* commandLine);
// The first file of a drop; nullopt for a drop of no file. The drop stays the caller's.
std::optional<std::wstring> FirstDroppedFile(HDROP drop);
