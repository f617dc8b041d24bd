#pragma once
// Flight statistics as labelled rows with their units, for people: the text
// that zeltool prints and the table a report draws beside its chart.
#include <string>
#include <vector>

#include "data/FlightStats.h"
#include "data/StatUnits.h"

struct StatRow {
  std::string label;   // "apogee"
  std::string value;   // "298.4 m"; "none" when the set does not show it
  std::string detail;  // "+/-1.2 m, at 8.69 s +/-0.03 s"; may be empty
};

// Every statistic in a fixed order, missing ones included (as "none"), then
// one "note" row for each of the statistics' notes.
std::vector<StatRow> FlightStatRows(const FlightStats& stats, UnitSystem units);
