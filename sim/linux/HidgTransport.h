#pragma once
// The device side of a real USB HID link: a model of the altimeter answers
// the reports the host writes, which a configfs HID gadget's node
// (/dev/hidgN) hands over, and its replies go back through the same node.
// The node moves a report's data bytes without the report ID: the model sees
// each behind the ID 0 that hidraw and Windows put in front, and what it
// sends goes out without it. The reports move on a thread of the
// transport's own, from its construction to its destruction.
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "sim/ReportPacing.h"
#include "sim/SimHidBackend.h"
#include "sim/linux/UniqueFd.h"

class HidgTransport : private ReportSink {
 public:
  // Serves `model` through `device`: the gadget's node, or any descriptor
  // that moves one report per read and write (a SOCK_SEQPACKET socket).
  HidgTransport(UniqueFd device, std::shared_ptr<SimDeviceModel> model);
  // Stops moving reports, then closes the node.
  ~HidgTransport() override;
  HidgTransport(const HidgTransport&) = delete;
  HidgTransport& operator=(const HidgTransport&) = delete;

  // One report per `ms` each way, as USB polls the device; 0: at once.
  void SetReportIntervalMs(unsigned ms);
  // While silent, nothing the model sends reaches the host.
  void SetSilent(bool silent);
  // At the start of the n-th transfer from now (0-based; reports taken from
  // the host and sent to it counted together), the transport stops as a
  // device pulled out does, and runs `pulledOut` on its thread. n < 0: never.
  void PullOutAtTransfer(int n, std::function<void()> pulledOut);

  // Since construction.
  int ReportsFromHost() const;
  int ReportsToHost() const;
  // Whether a pull-out at a transfer has stopped it.
  bool PulledOut() const;

 private:
  using Clock = ReportPacing::Clock;
  struct Timed {
    Report report;
    Clock::time_point due;  // when the device takes it, or when it arrives at the host
  };

  void Run();
  // Waits until the node shows `events`, `wakeAt` comes or the transport is
  // told to stop; false once told to stop. `happened`: what the node showed.
  bool Await(short events, std::optional<Clock::time_point> wakeAt, short& happened) const;
  // The next time something falls due that no event of the node announces.
  std::optional<Clock::time_point> NextWake(Clock::time_point now) const;
  bool SendDue(Clock::time_point now) const;
  void TakeFromHost();
  void AnswerIfDue();
  void SendIfDue();
  // Whether the next transfer is the one a pull-out awaits; if so the
  // transport stops and says so.
  bool PullingOut();
  void Send(Report report) override;

  const UniqueFd device_;
  const std::shared_ptr<SimDeviceModel> model_;
  const UniqueFd stop_;

  mutable std::mutex mutex_;
  ReportPacing pacing_;
  bool silent_ = false;
  int transfers_ = 0;
  int pullOutAt_ = -1;
  std::function<void()> pulledOut_;
  bool stopped_ = false;
  int fromHost_ = 0;
  int toHost_ = 0;

  // The thread's own.
  std::optional<Timed> taken_;  // the host's report awaiting its turn
  Clock::time_point answering_{};
  std::deque<Timed> outgoing_;

  std::thread thread_;  // last: starts once everything above is made
};
