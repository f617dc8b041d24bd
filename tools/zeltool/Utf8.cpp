#include "tools/zeltool/Utf8.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

size_t Utf8SequenceAt(const std::string& bytes, size_t at, char32_t& codePoint) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(bytes[at + k]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  }
  // The second byte's range excludes overlong forms, surrogates and code points past U+10FFFF.
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (bytes.size() - at < length || byte(1) < low || byte(1) > high) return 0;
  char32_t value = lead & (0x7Fu >> length);
  for (size_t k = 1; k < length; ++k) {
    if (!IsContinuation(byte(k))) return 0;
    value = (value << 6) | (byte(k) & 0x3Fu);
  }
  codePoint = value;
  return length;
}

void AppendUtf8(std::string& bytes, char32_t codePoint) {
  const auto put = [&](char32_t value) { bytes += static_cast<char>(value); };
  if (codePoint < 0x80) {
    put(codePoint);
  } else if (codePoint < 0x800) {
    put(0xC0 | codePoint >> 6);
    put(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    put(0xE0 | codePoint >> 12);
    put(0x80 | (codePoint >> 6 & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  } else {
    put(0xF0 | codePoint >> 18);
    put(0x80 | (codePoint >> 12 & 0x3F));
    put(0x80 | (codePoint >> 6 & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  }
}
