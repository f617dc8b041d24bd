#include "dialogs/CampaignInterleaving.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>
#include <iostream>
#include <new>

#include "base/DebugLog.h"

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
      dialog_(link_, script.BootloaderJob() ? ConnectionMode::Bootloader : ConnectionMode::Application, mailbox_) {}

InterleavingOutcome CampaignInterleaving::Run() {
  dialog_.Host().ReportConnection();
  if (!link_.IsConnected()) Violation("the dialog finds its device as it opens");
  lastConnectedPath_ = link_.device.path;
  PrepareJob(script_, link_, firmwareFile_);
  if (!dialog_.Host().AcceptsCommand(false)) Violation("the dialog takes a command while idle");

  jobInterface_ = devices_.Ours();
  firstJobTransfer_ = jobInterface_->TransfersStarted();
  ArmEventsFrom(0);
  const JobResult result = RunJobOnWorker();
  jobInterface_->SetActionAtTransfer(-1, nullptr);
  const int transfers = jobInterface_->TransfersStarted() - firstJobTransfer_;
  if (handOverFailed_) Violation("each notice is handled while the job waits", "a hand-over timed out");

  if (!script_.lateEventsBeforeJobEnded) JobEnded();
  for (size_t i = nextEvent_; i < script_.events.size(); ++i) Perform(script_.events[i]);
  if (script_.lateEventsBeforeJobEnded) JobEnded();

  CheckEnding(result, transfers);
  CheckArrivalsReported();
  RunSecondJob();
  return outcome_;
}

// The caller's thread is the dialog's: it serves the notices the worker hands
// over until the job's thread has returned.
JobResult CampaignInterleaving::RunJobOnWorker() {
  jobRunning_ = true;
  deadline_ = Clock::now() + kJobDeadline;
  const bool started =
      dialog_.Host().StartJob(KindOf(script_.job), [this] { RunJob(script_, link_, dialog_, firmwareFile_); });
  if (!started) {
    Violation("a job may start once the last one has ended");
    jobRunning_ = false;
    return JobResult::Failed;
  }
  if (!dialog_.AwaitWorker(deadline_)) {
    Violation("a job ends in time", "still running after 10 s");
    link_.device.Close();  // ends any transfer it waits on
    if (!dialog_.AwaitWorker(Clock::now() + kJobDeadline)) {
      std::cerr << label_ << ": the job hangs even with its link closed; script: " << script_.Describe() << std::endl;
      std::abort();
    }
  }
  jobRunning_ = false;
  if (!dialog_.JobEndPosted()) Violation("a job's end reaches its dialog whatever the work does");
  const std::vector<std::wstring> lines = dialog_.Lines();
  const std::vector<std::wstring> jobLines(lines.begin() + static_cast<std::ptrdiff_t>(linesSeen_), lines.end());
  linesSeen_ = lines.size();
  return ResultOf(script_.job, jobLines, dialog_.ReadOffered());
}

// What the dialog's thread does with the job's end, when it was posted.
void CampaignInterleaving::JobEnded() {
  if (!dialog_.JobEndPosted()) return;
  dialog_.Host().OnJobEnded();
  CheckAnotherAltimeterSaid();
}

void CampaignInterleaving::CheckEnding(JobResult result, int transfers) {
  outcome_.ending = EndingOf(result, transfers);
  const std::vector<std::wstring> lines = dialog_.Lines();
  if (threw_ && std::find(lines.begin(), lines.end(), L"The operation failed.") == lines.end()) {
    Violation("a job that throws is said to have failed");
  }
  const std::string fault = outcome_.ending == JobEnding::Succeeded
                                ? CompletedJobFault(script_, link_, devices_)
                                : EndedEarlyFault(script_, link_, devices_, result);
  if (fault.empty()) return;
  Violation(outcome_.ending == JobEnding::Succeeded ? "a completed job leaves what it should"
                                                    : "a job cut short leaves nothing half done",
            fault);
}

// What a job leaves must not break the next: once the device's glitches have
// passed, a job on a sound altimeter the dialog called connected succeeds.
void CampaignInterleaving::RunSecondJob() {
  if (dialog_.Host().Closing()) return;
  devices_.HealDeviceFaults();
  throwPending_ = false;
  threw_ = false;
  const bool soundDevice = link_.IsConnected() && devices_.InterfaceSound(link_.device.path);
  const bool expected = LastReportConnected() && soundDevice;
  const bool onOurs = link_.IsConnected() && link_.device.path == devices_.Ours()->Path();
  if (!dialog_.Host().AcceptsCommand(false)) {
    Violation("the dialog takes a command once its job has ended");
    return;
  }
  PrepareJob(script_, link_, firmwareFile_);
  const JobResult result = RunJobOnWorker();
  JobEnded();
  if (expected && result != JobResult::Succeeded) {
    Violation("a second job succeeds after \"Device Connected.\"", LinesSaid());
  } else if (result == JobResult::Succeeded && onOurs) {
    const std::string fault = CompletedJobFault(script_, link_, devices_);
    if (!fault.empty()) Violation("a completed second job leaves what it should", fault);
  }
}

// What the dialog said, for a failure's message.
std::string CampaignInterleaving::LinesSaid() const {
  std::string said;
  for (const std::wstring& line : dialog_.Lines()) said += "\n    | " + LogText(line);
  return said;
}

// Whether the last connection report, or removal, the dialog said was
// "Device Connected.". A bootloader cut in the middle of a block waits for the
// rest of it whatever is sent: its protocol has no way back to a known state.
bool CampaignInterleaving::LastReportConnected() const {
  const std::vector<std::wstring> lines = dialog_.Lines();
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    if (*line == L"Device Connected.") return true;
    if (*line == L"Device disconnected." || line->find(L"Device ") == 0) return false;
  }
  return false;
}

// Reconnected to another altimeter than before, the dialog says so.
void CampaignInterleaving::CheckAnotherAltimeterSaid() {
  if (!link_.IsConnected()) return;
  const std::wstring path = link_.device.path;
  if (path == lastConnectedPath_) return;
  lastConnectedPath_ = path;
  const std::vector<std::wstring> lines = dialog_.Lines();
  static const std::wstring kNote = L"This is another altimeter than the one this window was connected to.";
  if (std::find(lines.begin(), lines.end(), kNote) == lines.end()) Violation("another altimeter is said as such");
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
        if (dialog_.Host().AcceptsCommand(false)) Violation("no command starts anything while a job runs");
        for (size_t i = first; i < end; ++i) Perform(script_.events[i]);
      },
      deadline_);
  if (!handled) {
    handOverFailed_ = true;
    return;
  }
  nextEvent_ = end;
  ArmEventsFrom(end);
  if (throwPending_.exchange(false)) throw std::bad_alloc();
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
      if (static_cast<CampaignFault>(event.variant) == CampaignFault::OutOfMemory && jobRunning_) {
        throwPending_ = true;
        threw_ = true;
      }
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
  dialog_.Host().OnNotice(event, DeviceBroadcast{deviceType, path});
  CheckAnotherAltimeterSaid();
}

void CampaignInterleaving::Arrival(const std::wstring& path) {
  Notice(kDeviceArrival, path, DeviceBroadcast::kDeviceInterfaceType);
  if (!dialog_.Host().Closing()) arrivalSinceOurRemoval_ = true;
}

// The system names the interface in capitals as often as not.
void CampaignInterleaving::RemoveOurs(bool inCapitals) {
  const std::wstring path = devices_.PullOutOurs();
  if (path.empty()) return;
  NoteCause(Cause::Removal);
  const bool linkOnOurs = link_.IsConnected() && link_.device.path == path;
  Notice(kDeviceRemoveComplete, inCapitals ? InCapitals(path) : path, DeviceBroadcast::kDeviceInterfaceType);
  if (dialog_.Host().Closing()) return;
  arrivalSinceOurRemoval_ = false;
  if (linkOnOurs && link_.IsConnected()) Violation("our device's removal closes the link at once");
}

void CampaignInterleaving::NoteCause(Cause cause) {
  if (jobRunning_ && firstCause_ == Cause::None) firstCause_ = cause;
}

// An emulation that ended early by its cancel still reports success.
JobEnding CampaignInterleaving::EndingOf(JobResult result, int transfers) {
  if (result == JobResult::Succeeded) {
    const bool endedEarly = transfers < script_.JobTransfers();
    const bool emulation = script_.job == CampaignJob::EmulateLaunch;
    return emulation && cancelledDuringJob_ && endedEarly ? JobEnding::Cancelled : JobEnding::Succeeded;
  }
  if (result == JobResult::Cancelled) {
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
  Violation("a job fails only by a fault or our device's removal");
  return JobEnding::FailedWithoutCause;
}

// An arrival reaches the connection report, at once or when the job ends.
void CampaignInterleaving::CheckArrivalsReported() {
  if (dialog_.Host().Closing() || !arrivalSinceOurRemoval_ || !devices_.DialogDevicePresent()) return;
  if (!link_.IsConnected()) Violation("an arrival connects the dialog to a device of its mode");
}

void CampaignInterleaving::Violation(const std::string& invariant, const std::string& detail) {
  outcome_.violations.push_back({invariant, detail});
}
