// The pages as files in the native build: cairo writes PDF, PNG and SVG.
#include "view/cairo/CairoCanvas.h"
#include "view/cairo/PageOutput.h"
#include "view/cairo/PageText.h"
#include "view/page/PageFiles.h"

namespace {

bool WriteCanvasPage(PageFormat format, PageSize page, const PageInfo& info,
                     const std::function<void(PageCanvas&)>& paint, std::ostream& out) {
  if (!WritesPageFormat(format)) return false;
  return WritePage(
      format, page, info,
      [&](cairo_t* cairo) {
        CairoCanvas canvas(cairo);
        paint(canvas);
      },
      out);
}

}  // namespace

bool WritesPageFormat(PageFormat format) { return format != PageFormat::Emf; }

const TextMeasure& PageFileTextMeasure() {
  static const PageTextMeasure measure;
  return measure;
}

bool WriteReportPage(const ReportContent& report, PageSize page, PageFormat format, std::ostream& out) {
  return WriteCanvasPage(format, page, {"Flight report: " + report.flight, report.made},
                         [&](PageCanvas& canvas) { PaintReport(canvas, report, page); }, out);
}

bool WriteComparisonPage(const ComparisonContent& comparison, PageFormat format, std::ostream& out) {
  return WriteCanvasPage(format, kComparisonPage, {"Flights compared", comparison.made},
                         [&](PageCanvas& canvas) { PaintComparison(canvas, comparison); }, out);
}
