#pragma once
// A field of a CSV file as RFC 4180 writes it, for the logbooks spreadsheets open.
#include <string>

// `text` as is, or in double quotes with each quote doubled when it holds a
// comma, a quote, a CR or an LF; every other byte is kept as it is.
std::string CsvField(const std::string& text);
