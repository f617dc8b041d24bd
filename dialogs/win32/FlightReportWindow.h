#pragma once
// Flight Report: the displayed set's report page, as zeltool report draws it
// on A4, beside (or, narrow, above) the statistics rows zeltool stats prints
// for it; the rows go to the clipboard, the page to a PNG, EMF or PDF file or
// to a printer. No device, no worker.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/FlightStatRows.h"
#include "data/FlightStats.h"
#include "dialogs/win32/BaseWindow.h"
#include "dialogs/win32/DialogLayout.h"
#include "dialogs/win32/ReportPreview.h"
#include "dialogs/win32/StatsList.h"
#include "view/page/ReportPage.h"

class CFlightReportWindow : public CBaseWindow {
 public:
  // `flight` names the set ("flight.zel, set 0") and `comment` is its
  // comment on one line, both UTF-8; the report is made now.
  CFlightReportWindow(const std::string& flight, const std::string& comment, const DataSet& set);

  INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnInitDialog();
  void OnCommand(int id);
  void OnListKey(WORD key);
  void Arrange();
  void CopyRows();
  void SaveReport();
  void PrintOnPrinter();
  std::wstring DocumentTitle() const;

  const FlightStats stats_;
  const ReportContent report_;
  const std::vector<StatRow> rows_;
  std::unique_ptr<DialogLayout> layout_;  // from WM_INITDIALOG on
  std::unique_ptr<StatsList> list_;       // likewise
  ReportPreview preview_;
};
