#pragma once
// The campaign: many interleavings of a job with device notices, faults and
// cancels, tallied by how each job ended and by the invariants that failed.
#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "dialogs/CampaignInterleaving.h"

struct CampaignTally {
  uint32_t seed = 0;
  int interleavings = 0;
  std::array<int, 5> endings{};  // by JobEnding
  int noticesDuringJobs = 0;
  int noticesAfterJobs = 0;
  std::map<std::string, int> violatedInvariants;  // interleavings that broke each
  std::map<int, std::string> failures;            // by interleaving: what broke, and what replays it

  void Add(int interleaving, const CampaignScript& script, const InterleavingOutcome& outcome);
  int Count(JobEnding ending) const { return endings[static_cast<size_t>(ending)]; }
  // Lines that start with "campaign:".
  std::string Summary() const;
};

// Interleavings first to first + count - 1 of `seed`. They run several at a
// time, each on its own backend: the emulation's pauses would otherwise
// dominate, and no interleaving sees another.
CampaignTally RunCampaign(uint32_t seed, int first, int count);
