#include "tools/zeltool/PageArgs.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <filesystem>

#include "data/SafeFileWriter.h"
#include "tools/zeltool/ArgText.h"

std::time_t PageTime() {
  const char* fixed = std::getenv("SOURCE_DATE_EPOCH");
  if (fixed != nullptr && *fixed != '\0') {
    char* end = nullptr;
    const long long seconds = std::strtoll(fixed, &end, 10);
    if (*end == '\0' && seconds >= 0) return static_cast<std::time_t>(seconds);
  }
  return std::time(nullptr);
}

namespace {

const struct {
  PageFormat format;
  const char* extension;
} kPageExtensions[] = {
    {PageFormat::Pdf, "pdf"}, {PageFormat::Png, "png"}, {PageFormat::Svg, "svg"}, {PageFormat::Emf, "emf"}};

}  // namespace

bool ParsePageFormat(const std::wstring& output, PageFormat& format) {
  std::wstring extension = std::filesystem::path(output).extension().wstring();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  for (const auto& known : kPageExtensions) {
    const std::string name = known.extension;
    if (WritesPageFormat(known.format) && extension == L"." + std::wstring(name.begin(), name.end())) {
      format = known.format;
      return true;
    }
  }
  return false;
}

std::string PageOutputWords() {
  std::string words;
  for (const auto& known : kPageExtensions) {
    if (WritesPageFormat(known.format)) words += std::string(words.empty() ? "" : "|") + "OUT." + known.extension;
  }
  return words;
}

bool WritePageFile(const std::wstring& output, const std::function<bool(std::ostream&)>& write, ZeltoolIo& io) {
  SafeFileWriter file{ArgPath(output)};
  if (file.IsOpen() && write(file.Stream()) && file.Commit()) return true;
  io.err << "zeltool: " << NarrowText(output) << " cannot be written\n";
  return false;
}
