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

bool ParsePageFormat(const std::wstring& output, PageFormat& format) {
  std::wstring extension = std::filesystem::path(output).extension().wstring();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
  if (extension != L".pdf" && extension != L".png" && extension != L".svg") return false;
  format = extension == L".pdf" ? PageFormat::Pdf : extension == L".png" ? PageFormat::Png : PageFormat::Svg;
  return true;
}

bool WritePageFile(const std::wstring& output, const std::function<bool(std::ostream&)>& write, ZeltoolIo& io) {
  SafeFileWriter file{ArgPath(output)};
  if (file.IsOpen() && write(file.Stream()) && file.Commit()) return true;
  io.err << "zeltool: " << NarrowText(output) << " cannot be written\n";
  return false;
}
