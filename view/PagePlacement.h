#pragma once
// Where a page of points lands on a device: fitted into a box keeping its
// shape (a preview), or onto a printer's paper. Portable: the printer is
// described by the numbers its device context gives (GetDeviceCaps).
#include "view/page/PageGeometry.h"

// Page points to device units: x' = scaleX * x + offsetX, likewise y.
struct PageTransform {
  double scaleX;
  double scaleY;
  double offsetX;
  double offsetY;
};

// `page` as large as fits in `box` (device units of equal width and height),
// centred in it.
PageTransform FitPageInBox(PageSize page, const PageBox& box);

// A printer's page in its device pixels.
struct PrinterPage {
  double dotsPerInchX;
  double dotsPerInchY;
  double paperWidth;  // PHYSICALWIDTH, PHYSICALHEIGHT
  double paperHeight;
  double printableLeft;  // PHYSICALOFFSETX, PHYSICALOFFSETY: the printable area's corner on the paper
  double printableTop;
  double printableWidth;  // HORZRES, VERTRES
  double printableHeight;
};

// The page a printer's paper takes: Letter when the paper is Letter-sized
// either way round (within 2 mm), else A4.
PageSize PaperPage(const PrinterPage& printer);

// `page` as large as the printer's printable area holds, centred on the
// paper as far as that area allows, in the coordinates of the printer's
// device context (whose origin is the printable area's corner).
PageTransform PageOnPrinter(PageSize page, const PrinterPage& printer);
