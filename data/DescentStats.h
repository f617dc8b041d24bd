#pragma once
// The descent's part of a flight's statistics (data/FlightStats.h): its
// stages between the lines' firings, the rate of each, and the landing.
#include <vector>

#include "data/FlightStats.h"
#include "data/PinnedSamples.h"

// Fills the descent's fields of `stats` (descent, finalDescent, landingS and
// their notes) from `altitude`, once the apogee and the firings are in it;
// the descent starts at `topS`, the apogee or the end of a pinned top.
void MeasureDescent(const std::vector<double>& altitude, const std::vector<SampleSpan>& pinned, double topS,
                    FlightStats& stats);
