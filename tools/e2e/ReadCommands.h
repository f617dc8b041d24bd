#pragma once
// zeldrive's commands that read what the program shows beyond window texts:
// the rows of a ListView (through memory in the program's process, where
// the list writes them) and the clipboard's text, which they can also empty.
#include <string>
#include <vector>

using DriverArgs = std::vector<std::wstring>;

int RowsCommand(const DriverArgs& args);       // CAPTION ID
int ClipboardCommand(const DriverArgs& args);  // FILE
int EmptyClipboardCommand(const DriverArgs& args);
