#pragma once
// zeltool stats' three outputs of the same flights: a readable block per
// flight, a CSV logbook (one header row, one row per flight) and a JSON array
// of one object per flight, on one line.
#include <ostream>
#include <vector>

#include "data/StatUnits.h"
#include "tools/zeltool/StatsColumns.h"

void WriteStatsText(std::ostream& out, const std::vector<FlightRecord>& flights, UnitSystem units);
void WriteStatsCsv(std::ostream& out, const std::vector<FlightRecord>& flights, UnitSystem units);
void WriteStatsJson(std::ostream& out, const std::vector<FlightRecord>& flights, UnitSystem units);
