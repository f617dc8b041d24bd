#pragma once
// Work the worker hands to the dialog's thread and waits for, the way a
// message sent to a window is handled: the job stands still at a known
// transfer while the dialog's thread handles a notice.
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <utility>

class DialogMailbox {
 public:
  using Clock = std::chrono::steady_clock;

  // Worker: runs `work` on the dialog's thread and returns once it ran; false
  // when it had not run by `deadline` (withdrawn if not yet taken).
  bool Hand(std::function<void()> work, Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    pending_ = std::move(work);
    changed_.notify_all();
    if (changed_.wait_until(lock, deadline, [this] { return !pending_ && !running_; })) return true;
    pending_ = nullptr;
    return false;
  }

  // Dialog: a job is about to start on a new worker.
  void JobStarted() {
    std::lock_guard<std::mutex> lock(mutex_);
    returned_ = false;
  }

  // Worker: the job's function has returned.
  void JobReturned() {
    std::lock_guard<std::mutex> lock(mutex_);
    returned_ = true;
    changed_.notify_all();
  }

  // Dialog: runs what is handed over until the job has returned; false at `deadline`.
  bool ServeUntilJobReturns(Clock::time_point deadline) {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
      if (!changed_.wait_until(lock, deadline, [this] { return pending_ || returned_; })) return false;
      if (!pending_) return true;
      std::function<void()> work = std::exchange(pending_, nullptr);
      running_ = true;
      lock.unlock();
      work();
      lock.lock();
      running_ = false;
      changed_.notify_all();
    }
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::function<void()> pending_;
  bool running_ = false;
  bool returned_ = false;
};
