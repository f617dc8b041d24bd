#include "app/win32/DisplayedFlight.h"

#include <windows.h>

#include "device/AltimeterLink.h"
#include "dialogs/ReportRows.h"

namespace {

std::filesystem::path setsFile;  // empty: downloaded

std::string Utf8FromWide(const std::wstring& wide) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length, nullptr, nullptr);
  return text;
}

std::string Utf8FromCodePage(const std::string& narrow) {
  const int length = MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), wide.data(), length);
  return Utf8FromWide(wide);
}

}  // namespace

void SetsCameFromFile(const std::filesystem::path& path) { setsFile = path; }

void SetsCameFromAltimeter() { setsFile.clear(); }

DisplayedFlight DisplayedFlightOf(const AltimeterLink& link) {
  const auto data = link.LockData();
  const int32_t set = link.currentSet.setNumber;
  const std::string source = setsFile.empty() ? "altimeter download" : Utf8FromWide(setsFile.filename().wstring());
  const size_t index = static_cast<size_t>(set);
  const std::string comment = set >= 0 && index < link.comments.size() ? link.comments[index] : "";
  return {source + ", set " + std::to_string(set), OneLineText(Utf8FromCodePage(comment)), link.currentSet};
}
