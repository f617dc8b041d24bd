#pragma once
// The pieces of zeltool's --json outputs: one JSON object per run, on one line.
#include <string>
#include <vector>

// `text` (UTF-8) as a JSON string, quotes included: the quote, the backslash
// and control characters escaped, and each byte outside well-formed UTF-8
// (a file name's Latin-1 byte) as \ufffd, since JSON text is UTF-8.
std::string JsonString(const std::string& text);

// A count of tenths as a JSON number: 15 -> 1.5, 20 -> 2.
std::string JsonTenths(unsigned tenths);

std::string JsonBool(bool value);

// "key": value, for a value already in JSON.
std::string JsonMember(const std::string& key, const std::string& value);

// {members, separated by ", "} and [values, separated by ", "].
std::string JsonObject(const std::vector<std::string>& members);
std::string JsonArray(const std::vector<std::string>& values);
