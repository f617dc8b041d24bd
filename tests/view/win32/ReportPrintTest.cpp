// The report printed on a printer's page, as a printer-sized metafile shows
// it (no printer here): its texts are the flight's name and statistics rows,
// and its altitude curve lies where the page's layout puts each sample,
// on A4 and on Letter paper.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/FlightStats.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"
#include "support/win32/MemoryPicture.h"
#include "view/page/FlightCharts.h"
#include "view/win32/GdiTextMeasure.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/ReportPrinting.h"

namespace {

constexpr double kDpi = 600.0;
constexpr int kShrink = 6;  // the metafile is looked at at 100 dpi

struct MetafileDelete {
  void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};
using Metafile = std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, MetafileDelete>;

// A printer of `width` x `height` inches with a quarter inch it cannot print around.
PrinterPage Printer(double width, double height) {
  return {kDpi, kDpi, width * kDpi, height * kDpi, 0.25 * kDpi, 0.25 * kDpi, (width - 0.5) * kDpi,
          (height - 0.5) * kDpi};
}

// The printable area as a metafile whose device pixels are the printer's dots.
Metafile PrintedMetafile(const PrinterPage& printer, const ReportContent& report) {
  const HDC screen = GetDC(nullptr);
  const double hundredthsOfMmPerPixel =
      GetDeviceCaps(screen, HORZSIZE) * 100.0 / GetDeviceCaps(screen, HORZRES);
  const RECT frame{0, 0, static_cast<LONG>(printer.printableWidth * hundredthsOfMmPerPixel),
                   static_cast<LONG>(printer.printableHeight * hundredthsOfMmPerPixel)};
  const HDC dc = CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
  ReleaseDC(nullptr, screen);
  const bool painted = dc && PaintReportForPrinter(dc, printer, report);
  Metafile metafile(dc ? CloseEnhMetaFile(dc) : nullptr);
  EXPECT_TRUE(painted);
  return metafile;
}

// Each text record's characters on a line of their own, after a first line end.
int CALLBACK CollectText(HDC, HANDLETABLE*, const ENHMETARECORD* record, int, LPARAM texts) {
  if (record->iType != EMR_EXTTEXTOUTW) return 1;
  const auto* text = reinterpret_cast<const EMREXTTEXTOUTW*>(record);
  const auto* chars = reinterpret_cast<const wchar_t*>(reinterpret_cast<const BYTE*>(record) + text->emrtext.offString);
  reinterpret_cast<std::wstring*>(texts)->append(chars, text->emrtext.nChars).push_back(L'\n');
  return 1;
}

std::wstring TextsOf(const Metafile& metafile) {
  std::wstring texts = L"\n";
  EnumEnhMetaFile(nullptr, metafile.get(), CollectText, &texts, nullptr);
  return texts;
}

// Whether the colour is at (x, y) or within 2 pixels of it.
bool ColourWithin2(const MemoryPicture& picture, int x, int y, uint32_t colour) {
  const SIZE size = picture.Size();
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      const int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < size.cx && py < size.cy && picture.Pixel(px, py) == colour) return true;
    }
  }
  return false;
}

class ReportPrintTest : public testing::Test {
 protected:
  void SetUp() override {
    FlightParameters flight;
    flight.thrustN = 32.0;
    flight.burnTimeS = 1.8;
    flight.descentRateMs = 9.0;
    const LogCapture quiet;  // the smoothing's lines
    set.Build(RecordFlight(flight).packets, 0, 0, 0);
    stats = ComputeFlightStats(set);
    ASSERT_TRUE(stats.apogee && stats.apogeeS);
    report = ReportOf("flight.zel, set 0", "Club launch, field A", std::time(nullptr), set, stats,
                      UnitSystem::Metric);
  }

  const GdiplusSession gdiplus;
  DataSet set;
  FlightStats stats;
  ReportContent report;
};

TEST_F(ReportPrintTest, ThePrintedPageHoldsTheFlightAndItsCurveWhereTheLayoutPutsIt) {
  const struct {
    const char* name;
    PrinterPage printer;
    PageSize paper;
  } cases[] = {{"A4", Printer(210 / 25.4, 297 / 25.4), kA4Page}, {"Letter", Printer(8.5, 11.0), kLetterPage}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Metafile metafile = PrintedMetafile(c.printer, report);
    ASSERT_TRUE(metafile);

    const std::wstring texts = TextsOf(metafile);
    const auto hasText = [&texts](const std::string& text) {
      return text.empty() || texts.find(L"\n" + WideFromUtf8(text) + L"\n") != std::wstring::npos;
    };
    EXPECT_TRUE(hasText(report.flight));
    EXPECT_TRUE(hasText(report.comment));
    for (const StatRow& row : report.rows) {
      for (const std::string& cell : {row.label, row.value, row.detail}) EXPECT_TRUE(hasText(cell)) << cell;
    }

    const int width = static_cast<int>(c.printer.printableWidth) / kShrink;
    const int height = static_cast<int>(c.printer.printableHeight) / kShrink;
    const MemoryPicture picture(width, height);
    const RECT all{0, 0, width, height};
    ASSERT_TRUE(PlayEnhMetaFile(picture.Dc(), metafile.get(), &all));
    const PageTransform place = PageOnPrinter(c.paper, c.printer);
    const ChartLayout layout = ReportChartLayout(report, c.paper, GdiTextMeasure());
    const uint32_t altitude = kAltitudeColour.red << 16 | kAltitudeColour.green << 8 | kAltitudeColour.blue;
    size_t found = 0;
    for (size_t i = 0; i < set.altitudeAgl.size(); ++i) {
      const int x = static_cast<int>((place.offsetX + layout.X(i / 10.0) * place.scaleX) / kShrink);
      const int y = static_cast<int>(
          (place.offsetY + layout.Y(set.altitudeAgl[i] - stats.padLevel, ChartSide::Left) * place.scaleY) / kShrink);
      found += ColourWithin2(picture, x, y, altitude) ? 1 : 0;
    }
    EXPECT_GT(found, set.altitudeAgl.size() * 98 / 100) << found << " of " << set.altitudeAgl.size();
  }
}

}  // namespace
