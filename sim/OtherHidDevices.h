#pragma once
// HID interfaces of another kind than the altimeter (a mouse), plugged into a
// simulated backend for a moment: what a dialog hears of them must change
// nothing of its link.
#include <deque>
#include <memory>
#include <string>

#include "sim/SimHidBackend.h"

class OtherHidDevices {
 public:
  explicit OtherHidDevices(SimHidBackend& backend) : backend_(backend) {}

  // Plugs in one more; returns its path.
  std::wstring PlugIn();
  // Pull out the one plugged in first, or last; each returns its path, empty
  // when none is plugged in.
  std::wstring PullOutFirst();
  std::wstring PullOutLast();

 private:
  static std::wstring PullOut(const std::shared_ptr<SimInterface>& device);

  SimHidBackend& backend_;
  std::deque<std::shared_ptr<SimInterface>> plugged_;  // in plug order
  int plugs_ = 0;
};
