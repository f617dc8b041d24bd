#include "dialogs/ReportFileTypes.h"

#include <algorithm>
#include <cwctype>

namespace {

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
  return text;
}

bool EndsWithExtension(const std::wstring& path, const std::wstring& extension) {
  const std::wstring ending = L"." + extension;
  return path.size() > ending.size() && Lower(path.substr(path.size() - ending.size())) == ending;
}

}  // namespace

std::vector<ReportFileType> ReportFileTypes(bool pdfPrinter) {
  std::vector<ReportFileType> types{{ReportFileKind::Png, L"PNG picture (150 dpi)", L"png"},
                                    {ReportFileKind::Emf, L"Enhanced metafile", L"emf"}};
  if (pdfPrinter) types.push_back({ReportFileKind::Pdf, L"PDF document", L"pdf"});
  return types;
}

std::wstring SaveDialogFilter(const std::vector<ReportFileType>& types) {
  std::wstring filter;
  for (const ReportFileType& type : types) {
    filter += type.name + L'\0' + L"*." + type.extension + L'\0';
  }
  return filter + L'\0';
}

ReportTarget ReportTargetOf(const std::wstring& path, int filterIndex, const std::vector<ReportFileType>& types) {
  for (const ReportFileType& type : types) {
    if (EndsWithExtension(path, type.extension)) return {type.kind, path};
  }
  const bool inRange = filterIndex >= 1 && static_cast<size_t>(filterIndex) <= types.size();
  const ReportFileType& chosen = types[inRange ? static_cast<size_t>(filterIndex) - 1 : 0];
  return {chosen.kind, path + L"." + chosen.extension};
}

std::optional<std::wstring> PdfPrinter(const std::vector<std::wstring>& printers) {
  for (const std::wstring& printer : printers) {
    if (Lower(printer).find(L"pdf") != std::wstring::npos) return printer;
  }
  return std::nullopt;
}
