#include "view/cairo/ReportPage.h"

#include "view/cairo/ChartPainter.h"
#include "view/cairo/PageText.h"
#include "view/cairo/TableColumns.h"

namespace {

constexpr double kMargin = 42.0;
constexpr double kHeaderHeight = 64.0;
constexpr double kChartGap = 12.0;
constexpr double kTableHeadingHeight = 22.0;
constexpr double kRowPitch = 15.0;
constexpr double kColumnGap = 18.0;
constexpr double kCellIndent = 6.0;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kQuiet{90, 90, 90};
constexpr Rgb kRowShade{242, 242, 242};
constexpr TextStyle kFlightText{11.0, false, kBlack};
constexpr TextStyle kCommentText{11.0, false, kQuiet};
constexpr TextStyle kHeadingText{11.0, true, kBlack};
constexpr TextStyle kCellText{10.0, false, kBlack};

double TableHeight(const ReportContent& report) {
  return kTableHeadingHeight + kRowPitch * static_cast<double>(report.rows.size());
}

PageBox Content(PageSize page) { return {kMargin, kMargin, page.width - 2 * kMargin, page.height - 2 * kMargin}; }

PageBox ChartBox(const ReportContent& report, PageSize page) {
  const PageBox content = Content(page);
  const double top = content.top + kHeaderHeight;
  return {content.left, top, content.width, content.Bottom() - TableHeight(report) - kChartGap - top};
}

void PaintHeader(cairo_t* cairo, const ReportContent& report, const PageBox& content) {
  ShowPageTitle(cairo, content.left, content.Right(), content.top + 16.0, "Flight report", report.made);
  ShowText(cairo, kFlightText, content.left, content.top + 36.0, report.flight, TextAlign::Left, content.width);
  ShowText(cairo, kCommentText, content.left, content.top + 52.0, report.comment, TextAlign::Left, content.width);
}

void PaintTable(cairo_t* cairo, const std::vector<StatRow>& rows, const PageBox& table) {
  ShowText(cairo, kHeadingText, table.left, table.top + 14.0, "Statistics");
  // A row without a detail (a note) spans both columns: its value sets no width.
  std::vector<std::vector<std::string>> cells;
  for (const StatRow& row : rows) cells.push_back({row.label, row.detail.empty() ? "" : row.value, row.detail});
  const std::vector<double> lefts =
      ColumnLefts(cells, kCellText, PageTextMeasure(), table.left + kCellIndent, kColumnGap);
  for (size_t i = 0; i < rows.size(); ++i) {
    const double top = table.top + kTableHeadingHeight + kRowPitch * static_cast<double>(i);
    if (i % 2 == 0) {
      SetColour(cairo, kRowShade);
      cairo_rectangle(cairo, table.left, top, table.width, kRowPitch);
      cairo_fill(cairo);
    }
    const double baseline = top + kRowPitch - 4.0;
    ShowText(cairo, kCellText, lefts[0], baseline, rows[i].label);
    ShowText(cairo, kCellText, lefts[1], baseline, rows[i].value, TextAlign::Left, table.Right() - lefts[1]);
    ShowText(cairo, kCellText, lefts[2], baseline, rows[i].detail, TextAlign::Left, table.Right() - lefts[2]);
  }
}

}  // namespace

ChartLayout ReportChartLayout(const ReportContent& report, PageSize page) {
  return LayOutChart(report.chart, ChartBox(report, page), PageTextMeasure());
}

bool WriteReport(const ReportContent& report, PageSize page, PageFormat format, std::ostream& out) {
  const PageBox content = Content(page);
  const auto paint = [&](cairo_t* cairo) {
    PaintHeader(cairo, report, content);
    PaintChart(cairo, report.chart, ReportChartLayout(report, page));
    const double tableHeight = TableHeight(report);
    PaintTable(cairo, report.rows, {content.left, content.Bottom() - tableHeight, content.width, tableHeight});
  };
  return WritePage(format, page, {"Flight report: " + report.flight, report.made}, paint, out);
}
