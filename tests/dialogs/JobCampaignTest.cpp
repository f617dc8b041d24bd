// Device notices, faults and cancels at random points of running jobs: a job
// ends only by its own result, its cancel, or our device's fault or removal.
//   ZEL_CAMPAIGN_RUNS  interleavings (10000)
//   ZEL_CAMPAIGN_SEED  the campaign's seed
//   ZEL_CAMPAIGN_ONLY  replays that one interleaving of the seed
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>

#include "base/DebugLog.h"
#include "dialogs/JobCampaign.h"

namespace {

constexpr uint32_t kSeed = 20240611;
constexpr int kRuns = 10000;
constexpr size_t kFailuresShown = 10;

long EnvNumber(const char* name, long fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtol(text, nullptr, 10) : fallback;
}

TEST(JobCampaign, NoticesNeverBreakARunningJob) {
  const auto seed = static_cast<uint32_t>(EnvNumber("ZEL_CAMPAIGN_SEED", kSeed));
  const long only = EnvNumber("ZEL_CAMPAIGN_ONLY", -1);
  const int first = only >= 0 ? static_cast<int>(only) : 0;
  const int count = only >= 0 ? 1 : static_cast<int>(EnvNumber("ZEL_CAMPAIGN_RUNS", kRuns));

  const auto start = std::chrono::steady_clock::now();
  CampaignTally tally;
  {
    const RedirectedDebugLog silenced;
    tally = RunCampaign(seed, first, count);
  }
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::cout << tally.Summary() << "campaign: " << took.count() << " s" << std::endl;

  EXPECT_EQ(tally.interleavings, count);
  size_t shown = 0;
  for (const auto& [interleaving, failure] : tally.failures) {
    if (shown++ == kFailuresShown) break;
    ADD_FAILURE() << failure;
  }
  EXPECT_TRUE(tally.failures.empty()) << tally.failures.size() << " interleavings broke an invariant";
}

}  // namespace
