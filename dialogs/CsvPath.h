#pragma once
// Where the CSV of a saved data file goes: beside it, with the same name.
#include <string>

// The file name's own ".zel" extension (in any letter case) becomes ".csv";
// a name with another extension, or none, gets ".csv" appended. Folder names
// are never touched: C:\flights.zel\f1.zel gives C:\flights.zel\f1.csv.
std::wstring CsvPathFor(const std::wstring& dataFilePath);
