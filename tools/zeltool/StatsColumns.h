#pragma once
// The columns of zeltool's flight statistics for machines: one table that
// gives the CSV logbook its header and cells and the JSON objects their keys
// and values, so both list the same values under the same names. Each
// column's unit is in its CSV header ("apogee (ft)") and its JSON key
// ("apogeeFt"), so a value never travels without its unit.
#include <functional>
#include <string>
#include <vector>

#include "data/FlightStats.h"
#include "data/StatUnits.h"

// One flight: the file it was read from, its set as the program counts them
// on screen (from 1), its comment, and its statistics.
struct FlightRecord {
  std::string file;
  int set = 1;
  std::string comment;
  FlightStats stats;
};

struct StatsCell {
  enum class Kind { Missing, Number, Text, Flag, List } kind = Kind::Missing;
  std::string value;               // a number in fixed decimals, the text itself, or "true"/"false"
  std::vector<std::string> items;  // a list's texts
};

struct StatsColumn {
  std::string header;  // "apogee (m)"
  std::string key;     // "apogeeM"
  std::function<StatsCell(const FlightRecord&)> cell;
};

// Every column, in the order the logbook shows them, in `units`.
std::vector<StatsColumn> StatsColumns(UnitSystem units);
