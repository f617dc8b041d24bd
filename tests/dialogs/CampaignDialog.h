#pragma once
// A tool dialog's side of a job, as the Win32 dialogs play it on their own
// thread: the rule decides what a notice does, and its steps are applied to
// the link in order; the connection report is the one of the dialog's mode.
#include <cstdint>

#include "device/AltimeterLink.h"
#include "dialogs/JobRule.h"

class CampaignDialog {
 public:
  // Update Firmware connects in bootloader mode, the other dialogs in application mode.
  CampaignDialog(AltimeterLink& link, bool bootloaderDialog);

  // What the dialog runs as it opens and after an arrival.
  void ReportConnection();
  bool TryStartJob() { return rule_.TryStartJob(); }
  // On the dialog's thread once the worker's function has returned.
  void JobEnded() { Apply(rule_.JobEnded()); }
  void Notice(uint32_t event, const DeviceBroadcast& broadcast);
  // Download Data's close also closes the dialog; the firmware update ignores both.
  void Cancel(bool byClosing);
  bool Closing() const { return rule_.Closing(); }

 private:
  void Apply(const JobRule::Steps& steps);
  void ReportApplicationConnection();
  void ReportBootloaderConnection();

  AltimeterLink& link_;
  const bool bootloaderDialog_;
  JobRule rule_;
};
