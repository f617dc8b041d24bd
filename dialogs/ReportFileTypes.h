#pragma once
// What Flight Report's Save... offers and how it reads the answer: the file
// types (PDF only through a printer that makes PDF files), the save dialog's
// filter, and the type and path a chosen name is saved as. Portable.
#include <optional>
#include <string>
#include <vector>

enum class ReportFileKind { Png, Emf, Pdf };

struct ReportFileType {
  ReportFileKind kind;
  std::wstring name;       // "PNG picture (150 dpi)"
  std::wstring extension;  // "png"
};

// PNG and EMF, then PDF when `pdfPrinter`.
std::vector<ReportFileType> ReportFileTypes(bool pdfPrinter);

// The filter of a common save dialog: each type's name and "*.ext", every
// string ending in NUL, and one more NUL.
std::wstring SaveDialogFilter(const std::vector<ReportFileType>& types);

struct ReportTarget {
  ReportFileKind kind;
  std::wstring path;
};

// A path ending in one of the types' extensions (in any case) is saved as
// that type; any other gets the extension of the type chosen in the dialog
// (`filterIndex` from 1, as the dialog counts; out of range: the first).
ReportTarget ReportTargetOf(const std::wstring& path, int filterIndex, const std::vector<ReportFileType>& types);

// The first printer whose name contains "PDF" (in any case); none when none does.
std::optional<std::wstring> PdfPrinter(const std::vector<std::wstring>& printers);
