#include "tools/zeltool/ArgText.h"

#include <filesystem>

namespace {

constexpr size_t kMaxCountDigits = 9;  // always fits an int

}  // namespace

std::string NarrowText(const std::wstring& word) { return std::filesystem::path(word).u8string(); }

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
