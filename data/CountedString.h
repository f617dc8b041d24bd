#pragma once
// The counted string of data set files: a 32-bit little-endian length (the
// text's bytes plus one), the text, and one zero byte.
#include <istream>
#include <ostream>
#include <string>

// Writes `text` as a counted string. False when the stream is not good
// afterwards (or the text is too long to count in 32 bits, writing nothing).
bool WriteCountedString(std::ostream& out, const std::string& text);

// Reads a counted string and returns its text up to the first zero byte. A
// length that cannot be read counts as 0. A length beyond the end of the
// stream leaves the stream failed: memory grows only with the bytes actually
// there, so a damaged length costs no huge allocation.
std::string ReadCountedString(std::istream& in);
