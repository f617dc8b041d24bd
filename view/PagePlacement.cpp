#include "view/PagePlacement.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kPaperTolerance = 2.0;  // mm: drivers round the paper to their own units

bool NearlyEqual(double a, double b) { return std::fabs(a - b) <= kPaperTolerance; }

// Whether a paper of `width` x `height` mm is `page`'s, either way round.
bool PaperOf(double width, double height, PageSize page) {
  const double pageWidth = page.width / kPointsPerInch * kMillimetresPerInch;
  const double pageHeight = page.height / kPointsPerInch * kMillimetresPerInch;
  return (NearlyEqual(width, pageWidth) && NearlyEqual(height, pageHeight)) ||
         (NearlyEqual(width, pageHeight) && NearlyEqual(height, pageWidth));
}

}  // namespace

PageTransform FitPageInBox(PageSize page, const PageBox& box) {
  const double scale = std::max(0.0, std::min(box.width / page.width, box.height / page.height));
  return {scale, scale, box.left + (box.width - page.width * scale) / 2.0,
          box.top + (box.height - page.height * scale) / 2.0};
}

PageSize PaperPage(const PrinterPage& printer) {
  const double width = printer.paperWidth / printer.dotsPerInchX * kMillimetresPerInch;
  const double height = printer.paperHeight / printer.dotsPerInchY * kMillimetresPerInch;
  return PaperOf(width, height, kLetterPage) ? kLetterPage : kA4Page;
}

// Fitted in points, so that a printer with unequal resolutions keeps the
// page's shape on paper; centred on the paper as far as the printable area
// allows, as the printer's margins may differ.
PageTransform PageOnPrinter(PageSize page, const PrinterPage& printer) {
  const double xPerPoint = printer.dotsPerInchX / kPointsPerInch;
  const double yPerPoint = printer.dotsPerInchY / kPointsPerInch;
  const double scale = FitPageInBox(page, {0.0, 0.0, printer.printableWidth / xPerPoint,
                                           printer.printableHeight / yPerPoint})
                           .scaleX;
  const auto centred = [scale](double pageLength, double paper, double printableStart, double printable) {
    const double shown = pageLength * scale;
    return std::clamp((paper - shown) / 2.0 - printableStart, 0.0, std::max(0.0, printable - shown));
  };
  return {scale * xPerPoint, scale * yPerPoint,
          centred(page.width * xPerPoint, printer.paperWidth, printer.printableLeft, printer.printableWidth),
          centred(page.height * yPerPoint, printer.paperHeight, printer.printableTop, printer.printableHeight)};
}
