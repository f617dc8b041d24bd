// Flight Report's Save...: the types it offers, the filter of the save
// dialog, the type and path a chosen name is saved as, and which printer
// makes its PDF files.
#include "dialogs/ReportFileTypes.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

TEST(ReportFileTypes, PdfIsOfferedOnlyThroughAPdfPrinter) {
  EXPECT_EQ(std::wstring(L"PNG picture (150 dpi)\0*.png\0Enhanced metafile\0*.emf\0\0", 53),
            SaveDialogFilter(ReportFileTypes(false)));
  const std::vector<ReportFileType> types = ReportFileTypes(true);
  ASSERT_EQ(3u, types.size());
  EXPECT_EQ(ReportFileKind::Pdf, types[2].kind);
}

TEST(ReportFileTypes, TheNamesExtensionDecidesElseTheChosenType) {
  const std::vector<ReportFileType> withPdf = ReportFileTypes(true);
  const std::vector<ReportFileType> withoutPdf = ReportFileTypes(false);
  const struct {
    const wchar_t* path;
    int filterIndex;
    bool pdfPrinter;
    ReportFileKind kind;
    const wchar_t* saved;
  } cases[] = {
      {L"C:\\r\\report.png", 1, false, ReportFileKind::Png, L"C:\\r\\report.png"},
      {L"C:\\r\\report.EMF", 1, false, ReportFileKind::Emf, L"C:\\r\\report.EMF"},
      {L"C:\\r\\report.pdf", 1, true, ReportFileKind::Pdf, L"C:\\r\\report.pdf"},
      {L"C:\\r\\report", 2, false, ReportFileKind::Emf, L"C:\\r\\report.emf"},
      {L"C:\\r\\report", 3, true, ReportFileKind::Pdf, L"C:\\r\\report.pdf"},
      {L"C:\\r\\report.pdf", 1, false, ReportFileKind::Png, L"C:\\r\\report.pdf.png"},
      {L"C:\\r.png\\report", 7, false, ReportFileKind::Png, L"C:\\r.png\\report.png"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.path, c.path + wcslen(c.path)) << " " << c.filterIndex);
    const ReportTarget target = ReportTargetOf(c.path, c.filterIndex, c.pdfPrinter ? withPdf : withoutPdf);
    EXPECT_EQ(c.kind, target.kind);
    EXPECT_EQ(c.saved, target.path);
  }
}

TEST(ReportFileTypes, ThePdfPrinterIsTheFirstWithPdfInItsName) {
  const struct {
    std::vector<std::wstring> printers;
    const wchar_t* pdf;  // null: none
  } cases[] = {
      {{}, nullptr},
      {{L"Office laser", L"Label printer"}, nullptr},
      {{L"Office laser", L"Microsoft Print to PDF", L"CutePDF Writer"}, L"Microsoft Print to PDF"},
      {{L"cups-pdf"}, L"cups-pdf"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.pdf ? std::optional<std::wstring>(c.pdf) : std::nullopt, PdfPrinter(c.printers));
  }
}

}  // namespace
