#pragma once
// One interleaving of the campaign, run as the program runs a job: the
// dialog's thread (the caller) opens the dialog, starts the job on a worker
// through the dialogs' own job host and body, and handles the notices, which
// the worker hands over as it starts the scripted transfers and then waits
// for; events the job never reached follow once it has returned, before or
// after the dialog handles its end. Then the invariants are checked, and a
// second job runs on what the first one left.
#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "device/AltimeterLink.h"
#include "dialogs/CampaignDevices.h"
#include "dialogs/CampaignDialog.h"
#include "dialogs/CampaignJobs.h"
#include "dialogs/CampaignScript.h"
#include "dialogs/DialogMailbox.h"

enum class JobEnding { Succeeded, Cancelled, FailedByFault, FailedByRemoval, FailedWithoutCause };

struct InvariantViolation {
  std::string invariant;
  std::string detail;
};

struct InterleavingOutcome {
  JobEnding ending = JobEnding::Succeeded;
  int noticesDuringJob = 0;
  int noticesAfterJob = 0;
  std::vector<InvariantViolation> violations;
};

class CampaignInterleaving {
 public:
  // `label` names the interleaving in the message of a hang that cannot be ended.
  CampaignInterleaving(const CampaignScript& script, std::filesystem::path firmwareFile, std::string label);
  InterleavingOutcome Run();

 private:
  enum class Cause { None, Fault, Removal };
  using Clock = DialogMailbox::Clock;

  JobResult RunJobOnWorker();
  void JobEnded();
  void CheckEnding(JobResult result, int transfers);
  void RunSecondJob();
  bool LastReportConnected() const;
  std::string LinesSaid() const;
  void CheckAnotherAltimeterSaid();
  void ArmEventsFrom(size_t first);
  void OnJobTransfer(size_t first);  // on the worker
  void Perform(const ScriptedEvent& event);
  void Notice(uint32_t event, const std::wstring& path, uint32_t deviceType);
  void Arrival(const std::wstring& path);
  void RemoveOurs(bool inCapitals);
  void NoteCause(Cause cause);
  JobEnding EndingOf(JobResult result, int transfers);
  void CheckArrivalsReported();
  void Violation(const std::string& invariant, const std::string& detail = {});

  const CampaignScript& script_;
  const std::filesystem::path firmwareFile_;
  const std::string label_;
  CampaignDevices devices_;
  AltimeterLink link_;
  DialogMailbox mailbox_;
  CampaignDialog dialog_;
  Clock::time_point deadline_{};

  std::shared_ptr<SimInterface> jobInterface_;
  int firstJobTransfer_ = 0;
  size_t nextEvent_ = 0;  // the first event the job did not reach
  std::atomic<bool> handOverFailed_{false};
  std::atomic<bool> throwPending_{false};  // the worker throws as it goes on
  bool threw_ = false;
  size_t linesSeen_ = 0;
  std::wstring lastConnectedPath_;
  bool jobRunning_ = false;
  bool cancelledDuringJob_ = false;
  Cause firstCause_ = Cause::None;  // of the faults and removals during the job
  bool arrivalSinceOurRemoval_ = false;
  InterleavingOutcome outcome_;
};
