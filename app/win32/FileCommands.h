#pragma once
// The File menu's commands on the program's AltimeterLink.
#include <windows.h>

#include <string>

// Asks for a data set file and shows its first set; error box 109 when it
// cannot be loaded, leaving the displayed set as it was.
void OpenCommand(HWND owner);
// Loads `path` and shows set 0. False, changing nothing, when it cannot be loaded.
bool LoadDataSetFile(const std::wstring& path);
// As File > Open does with the file chosen: error box 109 when it cannot be loaded.
void OpenDataSetFile(HWND owner, const std::wstring& path);
// Export the displayed set. Each returns false at once, without a dialog,
// when nothing is displayed, and false after error box 104 when the file
// could not be written; true when written or cancelled.
bool ExportCsvCommand(HWND owner);
bool ExportXmlCommand(HWND owner);
// Flight Report over the displayed set; nothing at all when nothing is displayed.
void FlightReportCommand(HWND owner);
// Whether a set is displayed, which the commands on it need.
bool SetIsDisplayed();
