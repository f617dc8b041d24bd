#pragma once
// Text made safe for XML content and attribute values.
#include <string>

// < > & and the double quote become entities; every byte of 128 or more
// becomes a decimal character reference of its value (0xE9 -> "&#233;"),
// as the comment's code page is not recorded. A control byte XML 1.0 cannot
// hold in any form (0x00 to 0x1F but tab, LF and CR; a pasted comment can
// carry one) becomes the replacement character "&#65533;", so that every XML
// reader takes the file. Other bytes stay as they are.
std::string EscapeXml(const std::string& text);
