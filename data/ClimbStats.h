#pragma once
// The climb's part of a flight's statistics (data/FlightStats.h): the pad,
// the fitted launch, burn-out, top speed, acceleration and apogee with their
// standard errors, or what the samples alone show when the fit cannot be
// trusted, and a note for each value left out.
//
// A fitted value is given when its standard error is at most kMostErrorShare
// of it (speeds, acceleration, apogee) or kMostTimeErrorS (times); the fit
// itself is trusted when its samples scatter about it at most
// kMostScatterRatio times as much as they scatter about themselves, and it
// leaves the pad within kMostDepartureGapS of where the samples do.
#include <optional>
#include <vector>

#include "data/FlightStats.h"
#include "data/PinnedSamples.h"

constexpr double kMostErrorShare = 0.1;
constexpr double kMostTimeErrorS = 0.2;
constexpr double kMostScatterRatio = 2.0;
constexpr double kMostDepartureGapS = 0.5;

// Fills the climb's fields of `stats` from `altitude` (m above the set's
// first sample, one per 0.1 s); `pinnedTop` is the stretch at the top where
// the sensor sat at its limit, if any.
void MeasureClimb(const std::vector<double>& altitude, const std::optional<SampleSpan>& pinnedTop, FlightStats& stats);
