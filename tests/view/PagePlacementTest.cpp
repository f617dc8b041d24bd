// Where a page lands: in a preview's box and on a printer's paper, its shape
// kept; Letter paper takes the Letter page, any other A4.
#include "view/PagePlacement.h"

#include <gtest/gtest.h>

namespace {

// A printer of `dpi` with `paper` inches and the unprintable margins given in inches.
PrinterPage Printer(double dpi, double paperWidth, double paperHeight, double left, double top, double right,
                    double bottom) {
  return {dpi,         dpi,        paperWidth * dpi, paperHeight * dpi, left * dpi, top * dpi,
          (paperWidth - left - right) * dpi, (paperHeight - top - bottom) * dpi};
}

TEST(PagePlacement, APageFitsItsBoxCentredKeepingItsShape) {
  const PageTransform wide = FitPageInBox(kA4Page, {10.0, 20.0, 1000.0, 421.0});
  EXPECT_DOUBLE_EQ(0.5, wide.scaleX);
  EXPECT_DOUBLE_EQ(0.5, wide.scaleY);
  EXPECT_DOUBLE_EQ(10.0 + (1000.0 - 297.5) / 2.0, wide.offsetX);
  EXPECT_DOUBLE_EQ(20.0, wide.offsetY);
}

TEST(PagePlacement, LetterPaperTakesTheLetterPageAndAnyOtherA4) {
  const struct {
    const char* name;
    PrinterPage printer;
    double pageWidth;
  } cases[] = {
      {"Letter at 600 dpi", Printer(600, 8.5, 11.0, 0.25, 0.25, 0.25, 0.25), kLetterPage.width},
      {"Letter sideways", Printer(300, 11.0, 8.5, 0.2, 0.2, 0.2, 0.2), kLetterPage.width},
      {"A4 at 600 dpi", Printer(600, 210 / 25.4, 297 / 25.4, 0.2, 0.2, 0.2, 0.2), kA4Page.width},
      {"Legal", Printer(600, 8.5, 14.0, 0.25, 0.25, 0.25, 0.25), kA4Page.width},
      {"Letter at 600 x 300 dpi", {600, 300, 5100, 3300, 0, 0, 5100, 3300}, kLetterPage.width},
  };
  for (const auto& c : cases) EXPECT_EQ(c.pageWidth, PaperPage(c.printer).width) << c.name;
}

// The device context's origin is the printable area's corner: the page lies
// within that area, as large as it allows, and centred on the paper across.
TEST(PagePlacement, ThePrintedPageFillsThePrintableAreaCentredOnThePaper) {
  const PrinterPage printer = Printer(600, 210 / 25.4, 297 / 25.4, 0.2, 0.3, 0.1, 0.5);
  const PageTransform place = PageOnPrinter(kA4Page, printer);
  const double right = place.offsetX + kA4Page.width * place.scaleX;
  const double bottom = place.offsetY + kA4Page.height * place.scaleY;
  EXPECT_DOUBLE_EQ(place.scaleX, place.scaleY);
  EXPECT_GE(place.offsetX, 0.0);
  EXPECT_DOUBLE_EQ(0.0, place.offsetY);  // the height limits it
  EXPECT_LE(right, printer.printableWidth + 1e-9);
  EXPECT_DOUBLE_EQ(printer.printableHeight, bottom);
  EXPECT_NEAR(printer.paperWidth / 2.0, printer.printableLeft + (place.offsetX + right) / 2.0, 1e-6);
}

}  // namespace
