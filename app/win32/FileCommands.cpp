#include "app/win32/FileCommands.h"

#include <filesystem>

#include "base/DebugLog.h"
#include "app/win32/Application.h"
#include "app/win32/DisplayedFlight.h"
#include "dialogs/win32/FlightReportWindow.h"
#include "prompts/win32/FileDialog.h"
#include "prompts/win32/MessageBoxes.h"
#include "device/AltimeterLink.h"
#include "resources/ResourceIds.h"
#include "view/win32/Graph.h"

namespace {

struct ExportKind {
  FileDialogSetup dialog;
  bool (AltimeterLink::*exporter)(const std::filesystem::path& path, int setNumber);
};

const FileDialogSetup kOpenDialog{L"ZEL USB Data\0*.zel\0", L"Load data set", nullptr};
const ExportKind kCsvExport{{L"Excel CSV\0*.csv\0", L"Export to CSV", L"csv"}, &AltimeterLink::ExportCsv};
const ExportKind kXmlExport{{L"XML\0*.xml\0", L"Export to XML", L"xml"}, &AltimeterLink::ExportXml};

bool DisplaysNothing(const AltimeterLink& link) {
  const auto data = link.LockData();
  return link.currentSet.IsEmpty();
}

int32_t DisplayedSetNumber(const AltimeterLink& link) {
  const auto data = link.LockData();
  return link.currentSet.setNumber;
}

bool ExportCommand(HWND owner, const ExportKind& kind) {
  AltimeterLink& link = ProgramLink();
  if (DisplaysNothing(link)) return false;
  std::wstring path;
  if (!AskSavePath(owner, kind.dialog, path)) return true;
  const int32_t setNumber = DisplayedSetNumber(link);
  DebugLog << "Current Set: " << setNumber << std::endl;
  if ((link.*kind.exporter)(path, setNumber)) return true;
  ShowMessageBox(owner, IDS_SAVE_FAILED, MB_ICONERROR);
  return false;
}

}  // namespace

void OpenCommand(HWND owner) {
  std::wstring path;
  if (!AskOpenPath(owner, kOpenDialog, path)) return;
  OpenDataSetFile(owner, path);
  // The base stays hexadecimal for later writers, as they expect.
  DebugLog << "NT Version: " << std::hex << 0x501 << std::endl;
  DebugLog << "size: " << 88 << std::endl;
}

void OpenDataSetFile(HWND owner, const std::wstring& path) {
  if (!LoadDataSetFile(path)) ShowErrorBox(owner, IDS_LOAD_FAILED);
}

bool LoadDataSetFile(const std::wstring& path) {
  AltimeterLink& link = ProgramLink();
  if (!link.LoadDataSet(path)) return false;
  DebugLog << "Loaded data set." << std::endl;
  SetsCameFromFile(path);
  link.SelectDataSet(0);
  RefreshGraph();
  return true;
}

bool ExportCsvCommand(HWND owner) { return ExportCommand(owner, kCsvExport); }

bool ExportXmlCommand(HWND owner) { return ExportCommand(owner, kXmlExport); }

void FlightReportCommand(HWND owner) {
  AltimeterLink& link = ProgramLink();
  if (DisplaysNothing(link)) return;
  const DisplayedFlight flight = DisplayedFlightOf(link);
  CFlightReportWindow dialog(flight.name, flight.comment, flight.set);
  dialog.ShowModal(owner);
}

bool SetIsDisplayed() { return !DisplaysNothing(ProgramLink()); }
