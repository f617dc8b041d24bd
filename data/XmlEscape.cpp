#include "data/XmlEscape.h"

namespace {

// Not even a character reference may name these in XML 1.0.
bool IsBarredFromXml(unsigned char byte) { return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r'; }

}  // namespace

std::string EscapeXml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 128) {
      escaped += "&#" + std::to_string(byte) + ";";
    } else if (IsBarredFromXml(byte)) {
      escaped += "&#65533;";
    } else if (c == '<') {
      escaped += "&lt;";
    } else if (c == '>') {
      escaped += "&gt;";
    } else if (c == '&') {
      escaped += "&amp;";
    } else if (c == '"') {
      escaped += "&quot;";
    } else {
      escaped += c;
    }
  }
  return escaped;
}
