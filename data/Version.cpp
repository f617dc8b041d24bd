#include "data/Version.h"

#include <cwchar>

std::wstring FormatVersion(uint16_t version) {
  wchar_t text[16];
  std::swprintf(text, sizeof text / sizeof text[0], L"%x.%02x", unsigned(version >> 8), unsigned(version & 0xFF));
  return text;
}

std::wstring FormatVersionFamily(uint16_t version) {
  std::wstring text = FormatVersion(version);
  text.back() = L'x';
  return text;
}
