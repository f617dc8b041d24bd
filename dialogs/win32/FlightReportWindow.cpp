#include "dialogs/win32/FlightReportWindow.h"

#include <commctrl.h>

#include <ctime>
#include <optional>
#include <utility>
#include <vector>

#include "data/SafeFileWriter.h"
#include "dialogs/ReportFileTypes.h"
#include "dialogs/ReportPanes.h"
#include "dialogs/ReportRows.h"
#include "dialogs/win32/Clipboard.h"
#include "dialogs/win32/StatsList.h"
#include "prompts/win32/FileDialog.h"
#include "prompts/win32/Printers.h"
#include "resources/FlightReportIds.h"
#include "resources/ResourceIds.h"
#include "view/page/PageFiles.h"
#include "view/win32/GdiTextMeasure.h"
#include "view/win32/ReportPrinting.h"

namespace {

constexpr UnitSystem kUnits = UnitSystem::Metric;  // as zeltool's default
constexpr PageSize kShownPage = kA4Page;
// Posted on a DPI change, to arrive once the system has scaled the dialog and its fonts.
constexpr UINT kRefitMessage = WM_APP + 1;

// The dialog's margin in pixels: 7 dialog units, as the template's.
SIZE Margin(HWND dialog) {
  RECT margin{0, 0, 7, 7};
  MapDialogRect(dialog, &margin);
  return {margin.right, margin.bottom};
}

RECT RectIn(HWND dialog, HWND control) {
  RECT bounds{};
  GetWindowRect(control, &bounds);
  MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

// `rect`'s size with its corner at (left, top).
PixelBox MovedTo(const RECT& rect, LONG left, LONG top) {
  return {left, top, left + rect.right - rect.left, top + rect.bottom - rect.top};
}

bool WritePageFile(const ReportContent& report, const ReportTarget& target) {
  SafeFileWriter writer(target.path);
  const PageFormat format = target.kind == ReportFileKind::Png ? PageFormat::Png : PageFormat::Emf;
  return writer.IsOpen() && WriteReportPage(report, kShownPage, format, writer.Stream()) && writer.Commit();
}

}  // namespace

CFlightReportWindow::CFlightReportWindow(const std::string& flight, const std::string& comment, const DataSet& set)
    : CBaseWindow(IDD_FLIGHT_REPORT),
      stats_(ComputeFlightStats(set)),
      report_(ReportOf(flight, comment, std::time(nullptr), set, stats_, kUnits)),
      rows_(ReportRows(comment, stats_, kUnits)),
      preview_(report_, kShownPage) {}

INT_PTR CFlightReportWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (layout_) layout_->Handle(message, wParam, lParam);
  switch (message) {
    case WM_INITDIALOG:
      OnInitDialog();
      return TRUE;
    case WM_SIZE:
      if (layout_) Arrange();
      return TRUE;
    case WM_DPICHANGED:
      PostMessageW(hwnd, kRefitMessage, 0, 0);
      break;
    case kRefitMessage:
      list_->FitColumns();
      Arrange();
      return TRUE;
    case WM_DRAWITEM:
      if (wParam != IDC_REPORT_PAGE) break;
      preview_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.idFrom != IDC_REPORT_ROWS || header.code != LVN_KEYDOWN) break;
      OnListKey(reinterpret_cast<const NMLVKEYDOWN*>(lParam)->wVKey);
      return TRUE;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return TRUE;
    case WM_KEYDOWN:
      if (wParam != VK_ESCAPE) break;
      [[fallthrough]];
    case WM_CLOSE:
      EndDialog(hwnd, 0);
      return TRUE;
    default:
      break;
  }
  return HandleCommonMessage(window, message, wParam, lParam);
}

// The layout keeps the dialog from being made smaller than it opened.
void CFlightReportWindow::OnInitDialog() {
  list_ = std::make_unique<StatsList>(Control(IDC_REPORT_ROWS), rows_);
  layout_ = std::make_unique<DialogLayout>(OuterWidth(), OuterHeight(), 0, 0);
  Arrange();
}

// Escape reaches a dialog as IDCANCEL.
void CFlightReportWindow::OnCommand(int id) {
  switch (id) {
    case IDC_REPORT_COPY:
      CopyRows();
      break;
    case IDC_REPORT_SAVE:
      SaveReport();
      break;
    case IDC_REPORT_PRINT:
      PrintOnPrinter();
      break;
    case IDC_CLOSE:
    case IDCANCEL:
      EndDialog(hwnd, 0);
      break;
    default:
      break;
  }
}

// Ctrl+C in the list copies, as in other programs' lists.
void CFlightReportWindow::OnListKey(WORD key) {
  if (key == 'C' && GetKeyState(VK_CONTROL) < 0) CopyRows();
}

// The buttons along the bottom edge, Close at the right, and the page and
// the rows in the room above them, all placed from the client's size alone:
// a dialog larger than the screen opens cut to it, its controls where the
// template put them for its whole size. Each is drawn afresh where it lands:
// bits copied from where it was would show another's picture.
void CFlightReportWindow::Arrange() {
  RECT client{};
  GetClientRect(hwnd, &client);
  const SIZE margin = Margin(hwnd);
  const RECT close = RectIn(hwnd, Control(IDC_CLOSE));
  const LONG buttonsTop = client.bottom - margin.cy - (close.bottom - close.top);
  const PixelBox room{margin.cx, margin.cy, client.right - margin.cx, buttonsTop - margin.cy};
  const SIZE rows = list_->WantedSize();
  const ReportPanes panes = ArrangeReportPanes(room, kShownPage.width, kShownPage.height, margin.cx, rows.cx, rows.cy);
  std::vector<std::pair<int, PixelBox>> places{
      {IDC_REPORT_PAGE, panes.page},
      {IDC_REPORT_ROWS, panes.rows},
      {IDC_CLOSE, MovedTo(close, client.right - margin.cx - (close.right - close.left), buttonsTop)}};
  for (const int id : {IDC_REPORT_COPY, IDC_REPORT_SAVE, IDC_REPORT_PRINT}) {
    const RECT button = RectIn(hwnd, Control(id));
    places.emplace_back(id, MovedTo(button, button.left, buttonsTop));
  }
  HDWP positions = BeginDeferWindowPos(static_cast<int>(places.size()));
  for (const auto& [id, box] : places) {
    if (positions == nullptr) break;
    positions = DeferWindowPos(positions, Control(id), nullptr, box.left, box.top, box.right - box.left,
                               box.bottom - box.top, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  }
  if (positions != nullptr) EndDeferWindowPos(positions);
  list_->FollowWidth();
}

void CFlightReportWindow::CopyRows() {
  if (!PutTextOnClipboard(hwnd, WideFromUtf8(TabSeparatedRows(rows_)))) ShowError(IDS_CLIPBOARD_FAILED);
}

// PDF through a printer that makes PDF files, into the file chosen; PNG and
// EMF written whole or not at all.
void CFlightReportWindow::SaveReport() {
  const std::optional<std::wstring> pdfPrinter = PdfPrinter(PrinterNames());
  const std::vector<ReportFileType> types = ReportFileTypes(pdfPrinter.has_value());
  const std::wstring filter = SaveDialogFilter(types);
  std::wstring path;
  int filterIndex = 1;
  if (!AskSavePathAndType(hwnd, {filter.c_str(), L"Save flight report", L"png"}, path, filterIndex)) return;
  const ReportTarget target = ReportTargetOf(path, filterIndex, types);
  bool saved = false;
  if (target.kind == ReportFileKind::Pdf) {
    const PrinterDc printer = PrinterDcOf(*pdfPrinter);
    saved = printer && PrintReport(printer.Get(), report_, DocumentTitle(), target.path);
  } else {
    saved = WritePageFile(report_, target);
  }
  if (!saved) ShowError(IDS_REPORT_SAVE_FAILED);
}

void CFlightReportWindow::PrintOnPrinter() {
  PrinterDc printer;
  switch (AskPrinter(hwnd, printer)) {
    case PrintChoice::Cancelled:
      return;
    case PrintChoice::NoPrinter:
      ShowMessage(IDS_NO_PRINTER, MB_ICONINFORMATION);
      return;
    case PrintChoice::Failed:
      ShowError(IDS_REPORT_PRINT_FAILED);
      return;
    case PrintChoice::Chosen:
      if (!PrintReport(printer.Get(), report_, DocumentTitle(), L"")) ShowError(IDS_REPORT_PRINT_FAILED);
      return;
  }
}

std::wstring CFlightReportWindow::DocumentTitle() const { return L"Flight report: " + WideFromUtf8(report_.flight); }
