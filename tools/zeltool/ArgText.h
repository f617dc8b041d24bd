#pragma once
// Command-line words as zeltool needs them. A word is wide text. Where the
// command line is bytes (Linux), a file name need not be UTF-8 (a Latin-1
// name holds 0xE9 alone), so WideArg loses no byte: it decodes UTF-8 and
// keeps each byte outside it as U+DC80..U+DCFF, lone surrogates that no
// decoded UTF-8 yields; ArgPath and NarrowText give those bytes back.
#include <filesystem>
#include <string>

#include "data/StatUnits.h"

// A word of a narrow command line; never throws.
std::wstring WideArg(const std::string& bytes);

// The file a word names: the bytes WideArg took where file names are bytes,
// the wide text itself where they are wide (Windows). Never throws.
std::filesystem::path ArgPath(const std::wstring& word);

// A word as narrow text for messages: UTF-8, each byte WideArg kept put
// back as it was (so a name reads as `ls` shows it).
std::string NarrowText(const std::wstring& word);

// A path as narrow text for messages, as NarrowText.
std::string PathText(const std::filesystem::path& path);

// A decimal count, 0 or more, that fits an int; false for anything else.
bool ParseCount(const std::wstring& word, int& count);

// "m" or "ft", for --units; false for anything else.
bool ParseUnitSystem(const std::wstring& word, UnitSystem& units);
