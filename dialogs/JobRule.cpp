#include "dialogs/JobRule.h"

bool JobRule::Steps::operator==(const Steps& other) const {
  return closeLink == other.closeLink && reportConnection == other.reportConnection &&
         refreshControls == other.refreshControls;
}

JobRule::Steps JobRule::OnNotice(uint32_t event, const DeviceBroadcast& broadcast,
                                 const std::function<bool()>& namesOurDevice) {
  if (closing_ || broadcast.deviceType != DeviceBroadcast::kDeviceInterfaceType) return {};
  Steps steps;
  if (event == kDeviceRemoveComplete && namesOurDevice()) return OurDeviceGone();
  if (jobRunning_) {
    // Connecting now would close the handles the job is using.
    reportDue_ = reportDue_ || event == kDeviceArrival;
    refreshDue_ = refreshDue_ || event == kDeviceArrival;
    return steps;
  }
  steps.reportConnection = event == kDeviceArrival;
  steps.refreshControls = true;
  return steps;
}

JobRule::Steps JobRule::OnSuspend() { return closing_ ? Steps{} : OurDeviceGone(); }

JobRule::Steps JobRule::OurDeviceGone() {
  Steps steps;
  steps.closeLink = true;
  steps.refreshControls = true;  // the icon goes at once; the buttons stay busy
  refreshDue_ = refreshDue_ || jobRunning_;
  return steps;
}

bool JobRule::TryStartJob() {
  if (jobRunning_ || closing_) return false;
  jobRunning_ = true;
  return true;
}

JobRule::Steps JobRule::JobEnded() {
  Steps steps;
  if (!closing_) {
    steps.reportConnection = reportDue_;
    steps.refreshControls = refreshDue_;
  }
  jobRunning_ = false;
  reportDue_ = false;
  refreshDue_ = false;
  return steps;
}

bool JobRule::AcceptsCommand(bool startsNothing) const { return !closing_ && (startsNothing || !jobRunning_); }
