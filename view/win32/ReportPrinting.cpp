#include "view/win32/ReportPrinting.h"

#include <objidl.h>
#include <gdiplus.h>

#include "view/win32/GdiplusCanvas.h"

namespace {

double Caps(HDC dc, int index) { return static_cast<double>(GetDeviceCaps(dc, index)); }

Gdiplus::REAL Real(double value) { return static_cast<Gdiplus::REAL>(value); }

}  // namespace

PrinterPage PrinterPageOf(HDC dc) {
  return {Caps(dc, LOGPIXELSX),      Caps(dc, LOGPIXELSY),      Caps(dc, PHYSICALWIDTH), Caps(dc, PHYSICALHEIGHT),
          Caps(dc, PHYSICALOFFSETX), Caps(dc, PHYSICALOFFSETY), Caps(dc, HORZRES),       Caps(dc, VERTRES)};
}

bool PaintReportForPrinter(HDC dc, const PrinterPage& printer, const ReportContent& report) {
  const PageSize paper = PaperPage(printer);
  const PageTransform place = PageOnPrinter(paper, printer);
  const Gdiplus::Matrix pointsToDevice(Real(place.scaleX), 0, 0, Real(place.scaleY), Real(place.offsetX),
                                       Real(place.offsetY));
  return PaintPageOnDc(dc, pointsToDevice, paper, [&](PageCanvas& canvas) { PaintReport(canvas, report, paper); });
}

bool PrintReport(HDC dc, const ReportContent& report, const std::wstring& title, const std::wstring& output) {
  DOCINFOW document{};
  document.cbSize = sizeof document;
  document.lpszDocName = title.c_str();
  document.lpszOutput = output.empty() ? nullptr : output.c_str();
  if (StartDocW(dc, &document) <= 0) return false;
  const bool printed = StartPage(dc) > 0 && PaintReportForPrinter(dc, PrinterPageOf(dc), report) && EndPage(dc) > 0;
  if (!printed) {
    AbortDoc(dc);
    return false;
  }
  return EndDoc(dc) > 0;
}
