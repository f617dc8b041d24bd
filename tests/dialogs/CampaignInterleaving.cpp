#include "dialogs/CampaignInterleaving.h"

#include <cstdlib>
#include <cwctype>
#include <iostream>
#include <thread>

#include "dialogs/CampaignJobs.h"

namespace {

// A job takes milliseconds; this only catches one that never ends.
constexpr auto kJobDeadline = std::chrono::seconds(10);
constexpr uint32_t kVolumeType = 2;  // DBT_DEVTYP_VOLUME

std::wstring InCapitals(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

}  // namespace

CampaignInterleaving::CampaignInterleaving(const CampaignScript& script, std::filesystem::path firmwareFile,
                                           std::string label)
    : script_(script),
      firmwareFile_(std::move(firmwareFile)),
      label_(std::move(label)),
      devices_(script),
      link_(devices_.Backend()),
      dialog_(link_, script.BootloaderJob()) {}

InterleavingOutcome CampaignInterleaving::Run() {
  dialog_.ReportConnection();
  if (!link_.IsConnected()) Violation("the dialog finds its device as it opens");
  PrepareJob(script_, link_, firmwareFile_);
  if (!dialog_.TryStartJob()) Violation("the job may start");

  jobInterface_ = devices_.Ours();
  firstJobTransfer_ = jobInterface_->TransfersStarted();
  ArmEventsFrom(0);
  const int result = RunJobOnWorker();
  jobInterface_->SetActionAtTransfer(-1, nullptr);
  const int transfers = jobInterface_->TransfersStarted() - firstJobTransfer_;
  if (handOverFailed_) Violation("each notice is handled while the job waits", "a hand-over timed out");

  if (!script_.lateEventsBeforeJobEnded) dialog_.JobEnded();
  for (size_t i = nextEvent_; i < script_.events.size(); ++i) Perform(script_.events[i]);
  if (script_.lateEventsBeforeJobEnded) dialog_.JobEnded();

  outcome_.ending = EndingOf(result, transfers);
  if (outcome_.ending == JobEnding::Succeeded) {
    const std::string fault = CompletedJobFault(script_, link_, devices_);
    if (!fault.empty()) Violation("a completed job leaves what it should", fault);
  }
  CheckArrivalsReported();
  return outcome_;
}

// The caller's thread is the dialog's: it serves the notices the worker hands
// over until the job's function has returned.
int CampaignInterleaving::RunJobOnWorker() {
  jobRunning_ = true;
  deadline_ = Clock::now() + kJobDeadline;
  int result = kTransferFailed;
  std::thread worker([this, &result] {
    result = RunJob(script_, link_, firmwareFile_);
    mailbox_.JobReturned();
  });
  if (!mailbox_.ServeUntilJobReturns(deadline_)) {
    Violation("a job ends in time", "still running after 10 s");
    link_.device.Close();  // ends any transfer it waits on
    if (!mailbox_.ServeUntilJobReturns(Clock::now() + kJobDeadline)) {
      std::cerr << label_ << ": the job hangs even with its link closed; script: " << script_.Describe() << std::endl;
      std::abort();
    }
  }
  worker.join();
  jobRunning_ = false;
  return result;
}

// Events at the same transfer are handed over together.
void CampaignInterleaving::ArmEventsFrom(size_t first) {
  if (first >= script_.events.size()) return;
  const int transfer = firstJobTransfer_ + script_.events[first].transfer;
  jobInterface_->SetActionAtTransfer(transfer, [this, first] { OnJobTransfer(first); });
}

void CampaignInterleaving::OnJobTransfer(size_t first) {
  size_t end = first;
  while (end < script_.events.size() && script_.events[end].transfer == script_.events[first].transfer) ++end;
  const bool handled = mailbox_.Hand(
      [this, first, end] {
        for (size_t i = first; i < end; ++i) Perform(script_.events[i]);
      },
      deadline_);
  if (!handled) {
    handOverFailed_ = true;
    return;
  }
  nextEvent_ = end;
  ArmEventsFrom(end);
}

// On the dialog's thread.
void CampaignInterleaving::Perform(const ScriptedEvent& event) {
  switch (event.kind) {
    case CampaignEvent::OtherArrival:
      Arrival(devices_.PlugOther());
      break;
    case CampaignEvent::OtherRemoval: {
      const std::wstring path = devices_.PullOutOther();
      if (!path.empty()) Notice(kDeviceRemoveComplete, path, DeviceBroadcast::kDeviceInterfaceType);
      break;
    }
    case CampaignEvent::VolumeNotice:
      Notice(event.variant == 0 ? kDeviceArrival : kDeviceRemoveComplete, L"", kVolumeType);
      break;
    case CampaignEvent::SecondAltimeter:
      Arrival(devices_.PlugSecondAltimeter(event.variant == 1));
      break;
    case CampaignEvent::OurRemoval:
      RemoveOurs(event.variant == 1);
      break;
    case CampaignEvent::Replug:
      RemoveOurs(event.variant == 1);
      Arrival(devices_.PlugOursAgain());
      break;
    case CampaignEvent::Fault:
      devices_.InjectFault(static_cast<CampaignFault>(event.variant));
      NoteCause(Cause::Fault);
      break;
    case CampaignEvent::Cancel:
      dialog_.Cancel(event.variant == 1);
      cancelledDuringJob_ = cancelledDuringJob_ || jobRunning_;
      break;
  }
}

void CampaignInterleaving::Notice(uint32_t event, const std::wstring& path, uint32_t deviceType) {
  ++(jobRunning_ ? outcome_.noticesDuringJob : outcome_.noticesAfterJob);
  dialog_.Notice(event, DeviceBroadcast{deviceType, path});
}

void CampaignInterleaving::Arrival(const std::wstring& path) {
  Notice(kDeviceArrival, path, DeviceBroadcast::kDeviceInterfaceType);
  if (!dialog_.Closing()) arrivalSinceOurRemoval_ = true;
}

// The system names the interface in capitals as often as not.
void CampaignInterleaving::RemoveOurs(bool inCapitals) {
  const std::wstring path = devices_.PullOutOurs();
  if (path.empty()) return;
  NoteCause(Cause::Removal);
  const bool linkOnOurs = link_.IsConnected() && link_.device.path == path;
  Notice(kDeviceRemoveComplete, inCapitals ? InCapitals(path) : path, DeviceBroadcast::kDeviceInterfaceType);
  if (dialog_.Closing()) return;
  arrivalSinceOurRemoval_ = false;
  if (linkOnOurs && link_.IsConnected()) Violation("our device's removal closes the link at once");
}

void CampaignInterleaving::NoteCause(Cause cause) {
  if (jobRunning_ && firstCause_ == Cause::None) firstCause_ = cause;
}

// An emulation that ended early by its cancel still reports success.
JobEnding CampaignInterleaving::EndingOf(int result, int transfers) {
  if (result == kCommandOk) {
    const bool endedEarly = transfers < script_.JobTransfers();
    const bool emulation = script_.job == CampaignJob::EmulateLaunch;
    return emulation && cancelledDuringJob_ && endedEarly ? JobEnding::Cancelled : JobEnding::Succeeded;
  }
  if (result == kCommandCancelled && script_.job == CampaignJob::Download) {
    if (!cancelledDuringJob_) Violation("a job is cancelled only by its cancel");
    return JobEnding::Cancelled;
  }
  switch (firstCause_) {
    case Cause::Removal:
      return JobEnding::FailedByRemoval;
    case Cause::Fault:
      return JobEnding::FailedByFault;
    case Cause::None:
      break;
  }
  Violation("a job fails only by a fault or our device's removal", "result " + std::to_string(result));
  return JobEnding::FailedWithoutCause;
}

// An arrival reaches the connection report, at once or when the job ends.
void CampaignInterleaving::CheckArrivalsReported() {
  if (dialog_.Closing() || !arrivalSinceOurRemoval_ || !devices_.DialogDevicePresent()) return;
  if (!link_.IsConnected()) Violation("an arrival connects the dialog to a device of its mode");
}

void CampaignInterleaving::Violation(const std::string& invariant, const std::string& detail) {
  outcome_.violations.push_back({invariant, detail});
}
