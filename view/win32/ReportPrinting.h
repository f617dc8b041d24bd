#pragma once
// The report on a printer: laid out on the printer's paper (Letter or A4),
// fitted to its printable area, printed as a document of one page. Windows
// builds only.
#include <windows.h>

#include <string>

#include "view/PagePlacement.h"
#include "view/page/ReportPage.h"

// The page the printer of `dc` prints on (GetDeviceCaps).
PrinterPage PrinterPageOf(HDC dc);

// Paints `report` on `dc` as `printer`'s page: laid out on its paper's page
// and fitted to its printable area (view/PagePlacement.h), `dc`'s origin at
// that area's corner. False when GDI+ could not draw. GDI+ must be started.
bool PaintReportForPrinter(HDC dc, const PrinterPage& printer, const ReportContent& report);

// Prints `report` on the printer of `dc` as a document named `title`, into
// the file `output` when that is not empty (a PDF printer's file).
//   true   the printer took the whole document
//   false  it refused a step, or the page could not be drawn; the document
//          was aborted
bool PrintReport(HDC dc, const ReportContent& report, const std::wstring& title, const std::wstring& output);
