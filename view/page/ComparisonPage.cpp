#include "view/page/ComparisonPage.h"

#include "view/page/ChartPainter.h"
#include "view/page/TableColumns.h"

namespace {

constexpr double kMargin = 36.0;
constexpr double kHeaderHeight = 30.0;
constexpr double kLegendGap = 10.0;
constexpr double kLegendPitch = 15.0;
constexpr double kSwatchLength = 24.0;
constexpr double kSwatchWidth = 3.0;
constexpr double kColumnGap = 14.0;

constexpr TextStyle kLegendText{10.0, false, {0, 0, 0}};

PageBox Content() {
  return {kMargin, kMargin, kComparisonPage.width - 2 * kMargin, kComparisonPage.height - 2 * kMargin};
}

double LegendHeight(const ComparisonContent& comparison) {
  return kLegendPitch * static_cast<double>(comparison.flights.size());
}

std::vector<std::string> LegendCells(const ComparedFlight& flight) {
  const std::string comment = flight.note.empty() ? flight.comment : flight.comment + " (" + flight.note + ")";
  return {flight.name, flight.apogee, flight.flightTime, flight.topSpeed, comment};
}

void PaintLegend(PageCanvas& canvas, const ComparisonContent& comparison, const PageBox& legend) {
  const std::vector<ComparedFlight>& flights = comparison.flights;
  std::vector<std::vector<std::string>> rows;
  for (const ComparedFlight& flight : flights) rows.push_back(LegendCells(flight));
  const std::vector<double> lefts =
      ColumnLefts(rows, kLegendText, canvas.Measure(), legend.left + kSwatchLength + kColumnGap, kColumnGap);
  for (size_t i = 0; i < flights.size(); ++i) {
    const double baseline = legend.top + kLegendPitch * static_cast<double>(i + 1) - 4.0;
    canvas.StrokeLine({legend.left, baseline - 3.5}, {legend.left + kSwatchLength, baseline - 3.5},
                      comparison.chart.curves[i].colour, kSwatchWidth);
    for (size_t column = 0; column + 1 < lefts.size(); ++column) {
      canvas.ShowText(kLegendText, lefts[column], baseline, rows[i][column]);
    }
    canvas.ShowText(kLegendText, lefts.back(), baseline, rows[i].back(), legend.Right() - lefts.back());
  }
}

}  // namespace

ChartLayout ComparisonChartLayout(const ComparisonContent& comparison, const TextMeasure& measure) {
  const PageBox content = Content();
  const double top = content.top + kHeaderHeight;
  return LayOutChart(comparison.chart,
                     {content.left, top, content.width, content.Bottom() - LegendHeight(comparison) - kLegendGap - top},
                     measure);
}

void PaintComparison(PageCanvas& canvas, const ComparisonContent& comparison) {
  const PageBox content = Content();
  ShowPageTitle(canvas, content.left, content.Right(), content.top + 16.0, "Flights compared", comparison.made);
  PaintChart(canvas, comparison.chart, ComparisonChartLayout(comparison, canvas.Measure()));
  const double height = LegendHeight(comparison);
  PaintLegend(canvas, comparison, {content.left, content.Bottom() - height, content.width, height});
}
