#pragma once
// The few figures of a flight that a person scripting an archive asks for
// first: length, apogee, top speed and when the ejection lines fired.
#include <cstdint>
#include <ostream>
#include <string>

#include "data/DataSet.h"

struct FlightSummary {
  int32_t samples = 0;
  int32_t apogeeIndex = -1;    // highest altitudeAgl; -1 for an empty set
  int32_t topSpeedIndex = -1;  // highest velocity (m/s), as the graph marks it
  int32_t lineAIndex = -1;     // first sample with Line A firing; -1: never
  int32_t lineBIndex = -1;
};

FlightSummary SummarizeFlight(const DataSet& set);

// The summary as a few indented lines, numbers in the program's number text;
// `comment` null when the set has no comment entry.
void WriteFlightSummary(std::ostream& out, const DataSet& set, const FlightSummary& summary,
                        const std::string* comment);
