#pragma once
// Flights of every kind a flyer brings home, for the flight model
// (sim/FlightModel.h): the ordinary single-motor flights at several heights
// and speeds, and those that are hard to read: a failed or late main, two
// stages, a recording that starts in the air, a sensor pinned at the end of
// its range, a very short boost, a very high flight. Tests hold the
// statistics against their truth over seeds; a benchmark prints the table.
#include <string>
#include <vector>

#include "sim/FlightModel.h"

struct CataloguedFlight {
  std::string name;
  FlightParameters flight;
};

// Every kind, each with seed 1 (set FlightParameters::seed for another).
std::vector<CataloguedFlight> FlightCatalogue();

// One kind by name; the ordinary club flight when there is no such name.
FlightParameters CataloguedFlightNamed(const std::string& name);
