#include "view/page/ReportPage.h"

#include "view/page/ChartPainter.h"
#include "view/page/FlightCharts.h"
#include "view/page/TableColumns.h"

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

void PaintHeader(PageCanvas& canvas, const ReportContent& report, const PageBox& content) {
  ShowPageTitle(canvas, content.left, content.Right(), content.top + 16.0, "Flight report", report.made);
  canvas.ShowText(kFlightText, content.left, content.top + 36.0, report.flight, content.width);
  canvas.ShowText(kCommentText, content.left, content.top + 52.0, report.comment, content.width);
}

void PaintTable(PageCanvas& canvas, const std::vector<StatRow>& rows, const PageBox& table) {
  canvas.ShowText(kHeadingText, table.left, table.top + 14.0, "Statistics");
  // A row without a detail (a note) spans both columns: its value sets no width.
  std::vector<std::vector<std::string>> cells;
  for (const StatRow& row : rows) cells.push_back({row.label, row.detail.empty() ? "" : row.value, row.detail});
  const std::vector<double> lefts =
      ColumnLefts(cells, kCellText, canvas.Measure(), table.left + kCellIndent, kColumnGap);
  for (size_t i = 0; i < rows.size(); ++i) {
    const double top = table.top + kTableHeadingHeight + kRowPitch * static_cast<double>(i);
    if (i % 2 == 0) canvas.FillBox({table.left, top, table.width, kRowPitch}, kRowShade);
    const double baseline = top + kRowPitch - 4.0;
    canvas.ShowText(kCellText, lefts[0], baseline, rows[i].label);
    canvas.ShowText(kCellText, lefts[1], baseline, rows[i].value, table.Right() - lefts[1]);
    canvas.ShowText(kCellText, lefts[2], baseline, rows[i].detail, table.Right() - lefts[2]);
  }
}

}  // namespace

ReportContent ReportOf(const std::string& flight, const std::string& comment, std::time_t made, const DataSet& set,
                       const FlightStats& stats, UnitSystem units) {
  return {flight, comment, made, FlightChart(set, stats, units), PageStatRows(stats, units)};
}

ChartLayout ReportChartLayout(const ReportContent& report, PageSize page, const TextMeasure& measure) {
  return LayOutChart(report.chart, ChartBox(report, page), measure);
}

void PaintReport(PageCanvas& canvas, const ReportContent& report, PageSize page) {
  const PageBox content = Content(page);
  PaintHeader(canvas, report, content);
  PaintChart(canvas, report.chart, ReportChartLayout(report, page, canvas.Measure()));
  const double tableHeight = TableHeight(report);
  PaintTable(canvas, report.rows, {content.left, content.Bottom() - tableHeight, content.width, tableHeight});
}
