#include "dialogs/CsvPath.h"

#include <cwctype>

namespace {

constexpr wchar_t kDataExtension[] = L".zel";
constexpr size_t kExtensionLength = 4;

bool EndsWithDataExtension(const std::wstring& path) {
  if (path.size() < kExtensionLength) return false;
  const size_t start = path.size() - kExtensionLength;
  for (size_t i = 0; i < kExtensionLength; ++i) {
    if (static_cast<wchar_t>(std::towlower(path[start + i])) != kDataExtension[i]) return false;
  }
  return true;
}

}  // namespace

std::wstring CsvPathFor(const std::wstring& dataFilePath) {
  const std::wstring stem = EndsWithDataExtension(dataFilePath)
                                ? dataFilePath.substr(0, dataFilePath.size() - kExtensionLength)
                                : dataFilePath;
  return stem + L".csv";
}
