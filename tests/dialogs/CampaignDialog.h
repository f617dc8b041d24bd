#pragma once
// A tool dialog as the campaign plays it: the dialogs' own job host, on the
// campaign's thread, with a worker of its own; what it says is kept.
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/AltimeterLink.h"
#include "dialogs/DialogMailbox.h"
#include "dialogs/JobHost.h"
#include "dialogs/JobView.h"

class CampaignDialog : public DialogSide, public JobView {
 public:
  // Update Firmware connects in bootloader mode, the other dialogs in application mode.
  CampaignDialog(AltimeterLink& link, ConnectionMode mode, DialogMailbox& mailbox);
  ~CampaignDialog() override;

  JobHost& Host() { return host_; }
  // The worker's thread has returned; false when it did not by `deadline`.
  bool AwaitWorker(DialogMailbox::Clock::time_point deadline);
  // Whether the last job's end was posted to the dialog.
  bool JobEndPosted() const { return jobEndPosted_; }
  // Download Data's close also closes the dialog; the firmware update ignores both.
  void Cancel(bool byClosing);

  // What was said.
  std::vector<std::wstring> Lines() const;
  // Whether the dialog's read button was given back, since the last call.
  bool ReadOffered() { return readOffered_.exchange(false); }

  void Say(const std::wstring& line) override;
  void RefreshControls(bool) override {}
  bool StartThread(std::function<void()> work) override;
  void PostJobEnded() override { jobEndPosted_ = true; }
  void OfferRead() override { readOffered_ = true; }
  void Pause(unsigned) override {}

 private:
  AltimeterLink& link_;
  DialogMailbox& mailbox_;
  JobHost host_;
  std::thread worker_;
  std::atomic<bool> jobEndPosted_{false};
  std::atomic<bool> readOffered_{false};
  mutable std::mutex linesMutex_;
  std::vector<std::wstring> lines_;
};
