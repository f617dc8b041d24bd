#include "sim/SimHidBackend.h"

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <thread>
#include <utility>

namespace {

constexpr auto kFinestTimedWait = std::chrono::milliseconds(3);

class SimConnection : public HidConnection {
 public:
  SimConnection(std::shared_ptr<SimInterface> device, double timeoutScale)
      : device_(std::move(device)), timeoutScale_(timeoutScale) {}

  bool ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs) override {
    return !aborted_ && device_->Read(buffer, length, Scaled(timeoutMs), aborted_);
  }
  bool WriteReport(const uint8_t* buffer, size_t length, unsigned) override {
    return !aborted_ && device_->Write(buffer, length, aborted_);
  }
  void Abort() override {
    aborted_ = true;
    device_->Wake();
  }

 private:
  unsigned Scaled(unsigned timeoutMs) const { return static_cast<unsigned>(timeoutMs * timeoutScale_); }

  std::shared_ptr<SimInterface> device_;
  const double timeoutScale_;
  std::atomic<bool> aborted_{false};
};

}  // namespace

SimInterface::SimInterface(std::wstring path, const HidAttributes& attributes, std::shared_ptr<SimDeviceModel> model)
    : path_(std::move(path)), attributes_(attributes), model_(std::move(model)) {}

void SimInterface::SetUnopenable(bool readFails, bool writeFails) {
  std::lock_guard<std::mutex> lock(mutex_);
  openReadFails_ = readFails;
  openWriteFails_ = writeFails;
}

void SimInterface::SetAttributesUnreadable(bool unreadable) {
  std::lock_guard<std::mutex> lock(mutex_);
  attributesUnreadable_ = unreadable;
}

void SimInterface::SetSilentFromRead(int n) {
  std::lock_guard<std::mutex> lock(mutex_);
  silentFromRead_ = n;
}

void SimInterface::SetRemovedAtTransfer(int n) {
  std::lock_guard<std::mutex> lock(mutex_);
  removedAtTransfer_ = n;
}

void SimInterface::SetReplyDelayMs(unsigned ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  pacing_.SetReplyDelayMs(ms);
}

void SimInterface::SetWriteIntervalMs(unsigned ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  pacing_.SetWriteIntervalMs(ms);
}

void SimInterface::SetActionAtTransfer(int n, std::function<void()> action) {
  std::lock_guard<std::mutex> lock(mutex_);
  actionAtTransfer_ = n;
  transferAction_ = std::move(action);
}

void SimInterface::Remove() {
  std::lock_guard<std::mutex> lock(mutex_);
  present_ = false;
  arrived_.notify_all();
}

bool SimInterface::IsPresent() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return present_;
}

bool SimInterface::OpenReadFails() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return openReadFails_ || !present_;
}

bool SimInterface::OpenWriteFails() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return openWriteFails_ || !present_;
}

bool SimInterface::AttributesUnreadable() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return attributesUnreadable_;
}

int SimInterface::TransfersStarted() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return transfers_;
}

int SimInterface::ReadsStarted() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return reads_;
}

bool SimInterface::StartTransfer() {
  if (removedAtTransfer_ >= 0 && transfers_ >= removedAtTransfer_) present_ = false;
  ++transfers_;
  return present_;
}

void SimInterface::RunTransferAction() {
  std::function<void()> action;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (transfers_ == actionAtTransfer_) action = std::exchange(transferAction_, nullptr);
  }
  // Outside the lock: an Abort wakes readers through it.
  if (action) action();
}

bool SimInterface::AwaitReport(std::unique_lock<std::mutex>& lock, bool silent, Clock::time_point deadline,
                               const std::atomic<bool>& aborted) {
  for (;;) {
    if (aborted || !present_) return false;
    const Clock::time_point now = Clock::now();
    const bool pending = !silent && !outgoing_.empty();
    // A report that arrived within the time-out is taken, however late this thread wakes.
    if (pending && outgoing_.front().arrival <= std::min(now, deadline)) return true;
    if (now >= deadline) return false;
    const Clock::time_point until = pending ? std::min(outgoing_.front().arrival, deadline) : deadline;
    if (pending && outgoing_.size() == 1 && until - now < kFinestTimedWait) {
      WaitOutside(lock, until);
    } else {
      arrived_.wait_until(lock, until);
    }
  }
}

// A timed wait may end a millisecond or two late where the clock is finer than
// the timers (Windows); once every report sent has been read, that lateness
// would delay the host's next command, which the device would not. Reports
// with more behind them may be read late: the host catches up on them.
void SimInterface::WaitOutside(std::unique_lock<std::mutex>& lock, Clock::time_point until) {
  lock.unlock();
  while (Clock::now() < until) std::this_thread::yield();
  lock.lock();
}

bool SimInterface::Read(uint8_t* buffer, size_t length, unsigned timeoutMs, const std::atomic<bool>& aborted) {
  RunTransferAction();
  std::unique_lock<std::mutex> lock(mutex_);
  if (!StartTransfer()) return false;
  const bool silent = silentFromRead_ >= 0 && reads_ >= silentFromRead_;
  ++reads_;
  if (!AwaitReport(lock, silent, Clock::now() + std::chrono::milliseconds(timeoutMs), aborted)) return false;
  Report report = std::move(outgoing_.front().report);
  outgoing_.pop_front();
  lock.unlock();
  if (report.size() != length) return false;  // a short or long report is a failed transfer
  std::copy(report.begin(), report.end(), buffer);
  return true;
}

bool SimInterface::Write(const uint8_t* buffer, size_t length, const std::atomic<bool>& aborted) {
  RunTransferAction();
  Clock::time_point taken;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!StartTransfer() || aborted) return false;
    taken = pacing_.TakeHostReport(Clock::now());
    answeringReportTakenAt_ = taken;
  }
  // A sleep may end early where the clock is finer than the sleep (Windows
  // counts whole milliseconds): the device takes no report before its turn.
  while (Clock::now() < taken) std::this_thread::sleep_until(taken);
  // The model answers outside the lock: it calls Send, which takes it.
  model_->OnHostReport(Report(buffer, buffer + length), *this);
  return true;
}

void SimInterface::Send(Report report) {
  std::lock_guard<std::mutex> lock(mutex_);
  // The device answers from the moment it took the report, however late this
  // thread woke up to hand it over.
  const Clock::time_point arrival = pacing_.SendReport(answeringReportTakenAt_, model_->AnswersTakeTheirFrame());
  outgoing_.push_back({std::move(report), arrival});
  arrived_.notify_all();
}

void SimInterface::Wake() {
  std::lock_guard<std::mutex> lock(mutex_);
  arrived_.notify_all();
}

SimHidBackend::SimHidBackend(double timeoutScale) : timeoutScale_(timeoutScale) {}

std::shared_ptr<SimInterface> SimHidBackend::Plug(std::wstring path, const HidAttributes& attributes,
                                                  std::shared_ptr<SimDeviceModel> model) {
  if (model) model->OnPlugged();
  auto device = std::make_shared<SimInterface>(std::move(path), attributes, std::move(model));
  std::lock_guard<std::mutex> lock(mutex_);
  interfaces_.push_back(device);
  return device;
}

std::vector<std::shared_ptr<SimInterface>> SimHidBackend::Present() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::shared_ptr<SimInterface>> present;
  for (const auto& device : interfaces_) {
    if (device->IsPresent()) present.push_back(device);
  }
  return present;
}

std::shared_ptr<SimInterface> SimHidBackend::Find(const std::wstring& path) const {
  for (const auto& device : Present()) {
    if (device->Path() == path) return device;
  }
  return nullptr;
}

bool SimHidBackend::GetInterfacePath(int index, std::wstring& path) {
  const auto present = Present();
  if (index < 0 || index >= static_cast<int>(present.size())) return false;
  path = present[index]->Path();
  return true;
}

bool SimHidBackend::GetAttributes(const std::wstring& path, HidAttributes& attributes) {
  const auto device = Find(path);
  if (!device || device->AttributesUnreadable()) return false;
  attributes = device->Attributes();
  return true;
}

HidOpenResult SimHidBackend::Open(const std::wstring& path) {
  HidOpenResult result;
  const auto device = Find(path);
  if (!device) return result;
  result.readHandleValid = !device->OpenReadFails();
  result.writeHandleValid = !device->OpenWriteFails();
  if (result.readHandleValid && result.writeHandleValid) {
    result.connection = std::make_shared<SimConnection>(device, timeoutScale_);
  }
  return result;
}

std::wstring SimInterfacePath(uint16_t vendorId, uint16_t productId, int instance) {
  wchar_t path[128];
  std::swprintf(path, sizeof path / sizeof path[0],
                L"\\\\?\\hid#vid_%04x&pid_%04x#sim&%d#{4d1e55b2-f16f-11cf-88cb-001111000030}", unsigned(vendorId),
                unsigned(productId), instance);
  return path;
}
