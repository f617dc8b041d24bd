#pragma once
// What Flight Report lists and copies: the rows zeltool stats prints for a
// set, its comment first when it has one, and those rows as text a
// spreadsheet pastes into columns. Portable.
#include <string>
#include <vector>

#include "data/FlightStatRows.h"
#include "data/FlightStats.h"
#include "data/StatUnits.h"

// A "comment" row when `comment` is not empty, then FlightStatRows.
std::vector<StatRow> ReportRows(const std::string& comment, const FlightStats& stats, UnitSystem units);

// Whether a list makes its value column as wide as `row`'s value: only a
// row with a detail, as on the report page; a row without one (a note, the
// comment) may be long text that would push every detail out of sight.
bool WidensValueColumn(const StatRow& row);

// One line per row: label, value and detail joined by tabs, ending in CR LF;
// tabs and line breaks inside a cell become blanks, so every row keeps its
// three columns.
std::string TabSeparatedRows(const std::vector<StatRow>& rows);

// `text` on one line: each run of control characters (a comment's CR LF, a
// tab) becomes one blank. UTF-8 stays as it is.
std::string OneLineText(const std::string& text);
