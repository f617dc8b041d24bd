#include "dialogs/JobCampaign.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "support/TempFolder.h"

namespace {

constexpr int kLanes = 16;

std::string Label(uint32_t seed, int interleaving) {
  return "seed " + std::to_string(seed) + ", interleaving " + std::to_string(interleaving);
}

std::string Failure(uint32_t seed, int interleaving, const CampaignScript& script, const InterleavingOutcome& outcome) {
  std::ostringstream text;
  text << Label(seed, interleaving) << ":";
  for (const InvariantViolation& violation : outcome.violations) {
    text << "\n  broken: " << violation.invariant;
    if (!violation.detail.empty()) text << " (" << violation.detail << ")";
  }
  text << "\n  script: " << script.Describe() << "\n  replay: ZEL_CAMPAIGN_SEED=" << seed
       << " ZEL_CAMPAIGN_ONLY=" << interleaving;
  return text.str();
}

}  // namespace

void CampaignTally::Add(int interleaving, const CampaignScript& script, const InterleavingOutcome& outcome) {
  ++interleavings;
  ++endings[static_cast<size_t>(outcome.ending)];
  noticesDuringJobs += outcome.noticesDuringJob;
  noticesAfterJobs += outcome.noticesAfterJob;
  if (outcome.violations.empty()) return;
  std::set<std::string> broken;
  for (const InvariantViolation& violation : outcome.violations) broken.insert(violation.invariant);
  for (const std::string& invariant : broken) ++violatedInvariants[invariant];
  failures[interleaving] = Failure(seed, interleaving, script, outcome);
}

std::string CampaignTally::Summary() const {
  std::ostringstream text;
  text << "campaign: seed " << seed << ", " << interleavings << " interleavings\n"
       << "campaign: succeeded " << Count(JobEnding::Succeeded) << ", cancelled " << Count(JobEnding::Cancelled)
       << ", failed by fault " << Count(JobEnding::FailedByFault) << ", failed by removal "
       << Count(JobEnding::FailedByRemoval) << ", failed without cause " << Count(JobEnding::FailedWithoutCause) << "\n"
       << "campaign: notices during jobs " << noticesDuringJobs << ", after them " << noticesAfterJobs << "\n"
       << "campaign: interleavings breaking an invariant " << failures.size() << "\n";
  for (const auto& [invariant, count] : violatedInvariants) {
    text << "campaign:   " << count << " x " << invariant << "\n";
  }
  return text.str();
}

CampaignTally RunCampaign(uint32_t seed, int first, int count) {
  CampaignTally tally;
  tally.seed = seed;
  std::mutex tallyMutex;
  const int lanes = std::max(1, std::min(kLanes, count));
  std::vector<std::thread> threads;
  for (int lane = 0; lane < lanes; ++lane) {
    threads.emplace_back([&, lane] {
      const TempFolder folder;
      for (int n = first + lane; n < first + count; n += lanes) {
        const CampaignScript script = ScriptOf(seed, n);
        const InterleavingOutcome outcome =
            CampaignInterleaving(script, folder.Path("update.dat"), Label(seed, n)).Run();
        const std::lock_guard<std::mutex> lock(tallyMutex);
        tally.Add(n, script, outcome);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  return tally;
}
