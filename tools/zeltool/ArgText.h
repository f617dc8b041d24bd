#pragma once
// Command-line words as zeltool needs them.
#include <string>

// A word as narrow text for messages (UTF-8 on Windows).
std::string NarrowText(const std::wstring& word);

// A decimal count, 0 or more, that fits an int; false for anything else.
bool ParseCount(const std::wstring& word, int& count);
