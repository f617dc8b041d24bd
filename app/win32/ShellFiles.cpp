#include "app/win32/ShellFiles.h"

#include <memory>

namespace {

constexpr ULONG_PTR kHandOverTag = 0x5A454C31;  // "ZEL1"
constexpr DWORD kLongestPath = 32767;           // wide characters, the system's limit

}  // namespace

std::optional<std::wstring> FileNamedOn(const wchar_t* commandLine) {
  int count = 0;
  // An empty line would give the running program's own name instead.
  if (commandLine == nullptr || *commandLine == L'\0') return std::nullopt;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(commandLine, &count), LocalFree);
  if (!arguments || count < 2) return std::nullopt;
  return std::wstring(arguments.get()[1]);
}

std::optional<std::wstring> FirstDroppedFile(HDROP drop) {
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) == 0) return std::nullopt;
  const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
  if (length == 0) return std::nullopt;  // an empty name, which Wine counts as a file
  std::wstring path(static_cast<size_t>(length) + 1, L'\0');
  path.resize(DragQueryFileW(drop, 0, &path[0], length + 1));
  return path;
}

COPYDATASTRUCT HandOverOf(const std::wstring& path) {
  COPYDATASTRUCT data{};
  data.dwData = kHandOverTag;
  if (path.empty()) return data;
  data.cbData = static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(path.c_str());
  return data;
}

std::optional<std::wstring> FileHandedOver(const COPYDATASTRUCT& data) {
  if (data.dwData != kHandOverTag) return std::nullopt;
  if (data.cbData == 0) return std::wstring();
  if (data.lpData == nullptr) return std::nullopt;
  const DWORD length = data.cbData / sizeof(wchar_t);
  if (data.cbData % sizeof(wchar_t) != 0 || length < 2 || length > kLongestPath + 1) return std::nullopt;
  const auto* text = static_cast<const wchar_t*>(data.lpData);
  if (text[length - 1] != L'\0') return std::nullopt;
  const std::wstring path(text, length - 1);
  if (path.find(L'\0') != std::wstring::npos) return std::nullopt;
  return path;
}
