#include "sim/linux/HidgTransport.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <utility>

namespace {

// More than any report of the altimeter, so that a longer one shows whole.
constexpr size_t kLargestReport = 1024;

timespec Timeout(std::chrono::steady_clock::duration left) {
  const auto nanoseconds = std::chrono::duration_cast<std::chrono::nanoseconds>(
      std::max(left, std::chrono::steady_clock::duration::zero()));
  return {static_cast<time_t>(nanoseconds.count() / 1000000000), static_cast<long>(nanoseconds.count() % 1000000000)};
}

}  // namespace

HidgTransport::HidgTransport(UniqueFd device, std::shared_ptr<SimDeviceModel> model)
    : device_(std::move(device)),
      model_(std::move(model)),
      stop_(eventfd(0, EFD_CLOEXEC)),
      thread_([this] { Run(); }) {}

HidgTransport::~HidgTransport() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t signalled = write(stop_.Get(), &one, sizeof one);
  thread_.join();
}

void HidgTransport::SetReportIntervalMs(unsigned ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  pacing_.SetReplyDelayMs(ms);
  pacing_.SetWriteIntervalMs(ms);
}

void HidgTransport::SetSilent(bool silent) {
  std::lock_guard<std::mutex> lock(mutex_);
  silent_ = silent;
}

void HidgTransport::PullOutAtTransfer(int n, std::function<void()> pulledOut) {
  std::lock_guard<std::mutex> lock(mutex_);
  pullOutAt_ = n < 0 ? -1 : transfers_ + n;
  pulledOut_ = std::move(pulledOut);
}

int HidgTransport::ReportsFromHost() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return fromHost_;
}

int HidgTransport::ReportsToHost() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return toHost_;
}

bool HidgTransport::PulledOut() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return stopped_;
}

void HidgTransport::Run() {
  for (;;) {
    const Clock::time_point now = Clock::now();
    const bool serving = !PulledOut();
    short events = 0;
    if (serving && !taken_) events |= POLLIN;  // one report waits for its turn; the rest wait in the node
    if (serving && SendDue(now)) events |= POLLOUT;
    short happened = 0;
    if (!Await(events, serving ? NextWake(now) : std::nullopt, happened)) return;
    if (happened & (POLLERR | POLLHUP | POLLNVAL)) {
      std::lock_guard<std::mutex> lock(mutex_);
      stopped_ = true;  // the node is gone: nothing more moves until the end
      continue;
    }
    if (happened & POLLIN) TakeFromHost();
    AnswerIfDue();
    if (happened & POLLOUT) SendIfDue();
  }
}

bool HidgTransport::Await(short events, std::optional<Clock::time_point> wakeAt, short& happened) const {
  pollfd watched[] = {{device_.Get(), events, 0}, {stop_.Get(), POLLIN, 0}};
  timespec timeout{};
  if (wakeAt) timeout = Timeout(*wakeAt - Clock::now());
  const int ready = ppoll(watched, 2, wakeAt ? &timeout : nullptr, nullptr);
  if (ready < 0) return errno == EINTR;
  happened = watched[0].revents;
  return watched[1].revents == 0;
}

std::optional<ReportPacing::Clock::time_point> HidgTransport::NextWake(Clock::time_point now) const {
  std::optional<Clock::time_point> wake;
  if (taken_) wake = taken_->due;
  if (!outgoing_.empty() && !SendDue(now)) wake = std::min(wake.value_or(Clock::time_point::max()), outgoing_.front().due);
  return wake;
}

bool HidgTransport::SendDue(Clock::time_point now) const { return !outgoing_.empty() && outgoing_.front().due <= now; }

void HidgTransport::TakeFromHost() {
  if (PullingOut()) return;
  uint8_t data[kLargestReport];
  const ssize_t received = read(device_.Get(), data, sizeof data);
  if (received < 0) return;  // nothing after all; the next wake-up tells
  Report report{0x00};
  report.insert(report.end(), data, data + received);
  std::lock_guard<std::mutex> lock(mutex_);
  ++transfers_;
  ++fromHost_;
  taken_ = Timed{std::move(report), pacing_.TakeHostReport(Clock::now())};
}

void HidgTransport::AnswerIfDue() {
  if (!taken_ || taken_->due > Clock::now()) return;
  answering_ = taken_->due;
  const Report report = std::move(taken_->report);
  taken_.reset();
  model_->OnHostReport(report, *this);  // calls Send
}

void HidgTransport::SendIfDue() {
  if (!SendDue(Clock::now()) || PullingOut()) return;
  const Report& report = outgoing_.front().report;
  // Counted under the lock taken before the write: whoever has seen the
  // report arrive finds it counted.
  std::lock_guard<std::mutex> lock(mutex_);
  const ssize_t sent = write(device_.Get(), report.data() + 1, report.size() - 1);
  if (sent < 0 && errno == EAGAIN) return;  // the host has not taken the last one yet
  outgoing_.pop_front();
  if (sent < 0) return;  // lost, as a report is when the host resets the device
  ++transfers_;
  ++toHost_;
}

bool HidgTransport::PullingOut() {
  std::function<void()> pulledOut;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (transfers_ != pullOutAt_) return false;
    stopped_ = true;
    pullOutAt_ = -1;
    pulledOut = std::exchange(pulledOut_, nullptr);
  }
  taken_.reset();
  outgoing_.clear();
  if (pulledOut) pulledOut();
  return true;
}

void HidgTransport::Send(Report report) {
  if (report.empty()) return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (silent_) return;
  outgoing_.push_back({std::move(report), pacing_.SendReport(answering_, model_->AnswersTakeTheirFrame())});
}
