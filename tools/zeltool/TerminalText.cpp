#include "tools/zeltool/TerminalText.h"

#include <cstdio>

#include "tools/zeltool/Utf8.h"

namespace {

std::string Escaped(char32_t control) {
  char text[8];
  std::snprintf(text, sizeof text, control < 0x80 ? "\\x%02x" : "\\u%04x", static_cast<unsigned>(control));
  return text;
}

}  // namespace

std::string TerminalText(const std::string& bytes) {
  std::string text;
  for (size_t at = 0; at < bytes.size();) {
    char32_t c = 0;
    const size_t length = Utf8SequenceAt(bytes, at, c);
    at += length > 0 ? length : 1;
    if (length == 0) {
      AppendUtf8(text, kReplacementCharacter);
    } else if (c == '\r' && at < bytes.size() && bytes[at] == '\n') {
      continue;  // the LF that follows is the line break
    } else if (c == '\n' || !IsControlCharacter(c)) {
      AppendUtf8(text, c);
    } else {
      text += Escaped(c);
    }
  }
  return text;
}
