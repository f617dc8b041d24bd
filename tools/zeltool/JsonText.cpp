#include "tools/zeltool/JsonText.h"

#include <cstdio>

#include "tools/zeltool/Utf8.h"

namespace {

std::string EscapedControl(char32_t c) {
  switch (c) {
    case '\b': return "\\b";
    case '\f': return "\\f";
    case '\n': return "\\n";
    case '\r': return "\\r";
    case '\t': return "\\t";
    default: {
      char escaped[7];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      return escaped;
    }
  }
}

std::string Joined(const std::vector<std::string>& parts, char open, char close) {
  std::string joined(1, open);
  for (size_t i = 0; i < parts.size(); ++i) joined += (i == 0 ? "" : ", ") + parts[i];
  return joined + close;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string json = "\"";
  for (size_t at = 0; at < text.size();) {
    char32_t c = 0;
    const size_t length = Utf8SequenceAt(text, at, c);
    if (length == 0) {
      json += "\\ufffd";
      ++at;
      continue;
    }
    if (c < 0x20) {
      json += EscapedControl(c);
    } else if (c == '"' || c == '\\') {
      json += {'\\', static_cast<char>(c)};
    } else {
      json.append(text, at, length);
    }
    at += length;
  }
  return json + '"';
}

std::string JsonTenths(unsigned tenths) {
  const std::string whole = std::to_string(tenths / 10);
  return tenths % 10 == 0 ? whole : whole + '.' + std::to_string(tenths % 10);
}

std::string JsonBool(bool value) { return value ? "true" : "false"; }

std::string JsonMember(const std::string& key, const std::string& value) { return JsonString(key) + ": " + value; }

std::string JsonObject(const std::vector<std::string>& members) { return Joined(members, '{', '}'); }

std::string JsonArray(const std::vector<std::string>& values) { return Joined(values, '[', ']'); }
