#pragma once
// When a paced HID interface moves its reports. USB polls the interface once
// per interval each way: the device takes one report from the host per write
// interval, and each report it sends arrives one reply delay after the report
// it answers or after the report it sent before, whichever is later. Zero
// intervals move everything at once. The simulated interfaces and the gadget
// that serves the simulated altimeter over a real USB stack share this rule.
#include <chrono>

class ReportPacing {
 public:
  using Clock = std::chrono::steady_clock;

  void SetReplyDelayMs(unsigned ms) { replyDelay_ = std::chrono::milliseconds(ms); }
  void SetWriteIntervalMs(unsigned ms) { writeInterval_ = std::chrono::milliseconds(ms); }

  // When the device takes a report the host offers at `offered`: at its turn.
  Clock::time_point TakeHostReport(Clock::time_point offered);
  // When a report the device sends in answer to the one it took at `taken`
  // arrives at the host. `takesItsFrame`: the device takes no report from the
  // host in the frame in which this one arrives.
  Clock::time_point SendReport(Clock::time_point taken, bool takesItsFrame);

 private:
  Clock::duration replyDelay_{};
  Clock::duration writeInterval_{};
  Clock::time_point nextTake_{};
  Clock::time_point lastArrival_{};
};
