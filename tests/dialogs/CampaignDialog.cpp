#include "dialogs/CampaignDialog.h"

CampaignDialog::CampaignDialog(AltimeterLink& link, ConnectionMode mode, DialogMailbox& mailbox)
    : link_(link), mailbox_(mailbox), host_(link, *this, mode) {}

CampaignDialog::~CampaignDialog() {
  if (worker_.joinable()) worker_.join();
}

bool CampaignDialog::StartThread(std::function<void()> work) {
  if (worker_.joinable()) worker_.join();
  jobEndPosted_ = false;
  mailbox_.JobStarted();
  // As the dialogs' worker thread: what escapes the work ends the thread, no more.
  worker_ = std::thread([this, work = std::move(work)] {
    try {
      work();
    } catch (...) {
    }
    mailbox_.JobReturned();
  });
  return true;
}

bool CampaignDialog::AwaitWorker(DialogMailbox::Clock::time_point deadline) {
  if (!mailbox_.ServeUntilJobReturns(deadline)) return false;
  worker_.join();
  return true;
}

void CampaignDialog::Cancel(bool byClosing) {
  if (byClosing) host_.BeginClosing();
  link_.RequestCancel();
}

void CampaignDialog::Say(const std::wstring& line) {
  const std::lock_guard<std::mutex> lock(linesMutex_);
  lines_.push_back(line);
}

std::vector<std::wstring> CampaignDialog::Lines() const {
  const std::lock_guard<std::mutex> lock(linesMutex_);
  return lines_;
}
