#include "app/win32/ShellFiles.h"

#include <memory>

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
