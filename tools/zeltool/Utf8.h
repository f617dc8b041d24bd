#pragma once
// UTF-8 as zeltool reads and writes it: well-formed sequences only (no
// overlong forms, no surrogates, nothing above U+10FFFF).
#include <cstddef>
#include <string>

// The length of the well-formed sequence starting at bytes[at], its code
// point in `codePoint`; 0 when none starts there.
size_t Utf8SequenceAt(const std::string& bytes, size_t at, char32_t& codePoint);

constexpr char32_t kReplacementCharacter = 0xFFFD;  // U+FFFD, for what is no character

// C0 controls, DEL and C1 controls: what a terminal acts on rather than shows.
constexpr bool IsControlCharacter(char32_t c) { return c < 0x20 || (c >= 0x7F && c < 0xA0); }

// Appends the UTF-8 form of `codePoint` (at most U+10FFFF).
void AppendUtf8(std::string& bytes, char32_t codePoint);
