#pragma once
// Text made safe for XML content and attribute values.
#include <string>

// < > & and the double quote become entities; every byte of 128 or more
// becomes a decimal character reference of its value (0xE9 -> "&#233;"),
// as the comment's code page is not recorded. Other bytes stay as they are.
std::string EscapeXml(const std::string& text);
