#include "tools/zeltool/ArgText.h"

#include <type_traits>

#include "tools/zeltool/Utf8.h"

namespace {

constexpr size_t kMaxCountDigits = 9;  // always fits an int
constexpr char32_t kKeptByteBase = 0xDC00;  // byte 0x80..0xFF -> U+DC80..U+DCFF
constexpr bool kWideIsUtf16 = sizeof(wchar_t) == 2;

bool IsKeptByte(char32_t c) { return c >= kKeptByteBase + 0x80 && c <= kKeptByteBase + 0xFF; }
bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendWide(std::wstring& word, char32_t c) {
  if (kWideIsUtf16 && c > 0xFFFF) {
    word += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
    word += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  } else {
    word += static_cast<wchar_t>(c);
  }
}

// The code point at word[at] and how many wide characters hold it.
size_t CodePointAt(const std::wstring& word, size_t at, char32_t& c) {
  c = static_cast<char32_t>(word[at]);
  if (kWideIsUtf16 && IsHighSurrogate(c) && at + 1 < word.size() &&
      IsLowSurrogate(static_cast<char32_t>(word[at + 1]))) {
    c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(word[at + 1]) - 0xDC00);
    return 2;
  }
  return 1;
}

}  // namespace

std::wstring WideArg(const std::string& bytes) {
  std::wstring word;
  for (size_t at = 0; at < bytes.size();) {
    char32_t c = 0;
    const size_t length = Utf8SequenceAt(bytes, at, c);
    AppendWide(word, length > 0 ? c : kKeptByteBase + static_cast<unsigned char>(bytes[at]));
    at += length > 0 ? length : 1;
  }
  return word;
}

std::string NarrowText(const std::wstring& word) {
  std::string bytes;
  for (size_t at = 0; at < word.size();) {
    char32_t c = 0;
    at += CodePointAt(word, at, c);
    if (IsKeptByte(c)) {
      bytes += static_cast<char>(c - kKeptByteBase);
    } else {
      AppendUtf8(bytes, IsLowSurrogate(c) || IsHighSurrogate(c) || c > 0x10FFFF ? kReplacementCharacter : c);
    }
  }
  return bytes;
}

std::filesystem::path ArgPath(const std::wstring& word) {
  if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
    return std::filesystem::path(word);
  } else {
    return std::filesystem::path(NarrowText(word));
  }
}

std::string PathText(const std::filesystem::path& path) {
  if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
    return NarrowText(path.wstring());
  } else {
    return path.string();
  }
}

bool ParseCount(const std::wstring& word, int& count) {
  if (word.empty() || word.size() > kMaxCountDigits) return false;
  int value = 0;
  for (const wchar_t c : word) {
    if (c < L'0' || c > L'9') return false;
    value = value * 10 + (c - L'0');
  }
  count = value;
  return true;
}

bool ParseUnitSystem(const std::wstring& word, UnitSystem& units) {
  if (word != L"m" && word != L"ft") return false;
  units = word == L"m" ? UnitSystem::Metric : UnitSystem::Imperial;
  return true;
}
