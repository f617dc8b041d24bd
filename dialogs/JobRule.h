#pragma once
// What a tool dialog may do while one of its jobs (a download, a write, an
// update...) runs on the worker, apart from the windows. A job ends only by
// its own result, its cancel, or the removal of the dialog's own device:
//  - while it runs, a device notice only records what changed; the link is
//    touched again, and the connection reported, once the job has ended;
//  - the removal of our device acts at once: the link is closed, which ends
//    the job;
//  - only device-interface notices count (a USB stick's volume arrival
//    reaches every window and means nothing here);
//  - no command starts anything while a job runs, nor anything at all once
//    the dialog is closing.
// One rule per dialog, used on the dialog's thread only.
#include <cstdint>
#include <functional>

#include "device/HidDevice.h"

// The device events a dialog is told of (the system's DBT_ codes).
constexpr uint32_t kDeviceArrival = 0x8000;
constexpr uint32_t kDeviceRemoveComplete = 0x8004;

class JobRule {
 public:
  // What the dialog does now, in this order.
  struct Steps {
    bool closeLink = false;         // say "Device disconnected." and close the link
    bool reportConnection = false;  // run the dialog's connection report
    bool refreshControls = false;   // update the controls, busy while a job runs

    bool operator==(const Steps& other) const;
  };

  // A notice reached the dialog. `namesOurDevice` is asked only of the
  // removal of a device interface (asking logs the names compared).
  Steps OnNotice(uint32_t event, const DeviceBroadcast& broadcast, const std::function<bool()>& namesOurDevice);
  // The machine is about to sleep with the link open: as our device's removal,
  // since the device will not answer across the sleep.
  Steps OnSuspend();

  // Before a job's thread is started: false, and nothing may start, while a
  // job runs or once closing. A job that then cannot start is JobEnded too.
  bool TryStartJob();
  // The job's thread is done: the steps its notices left for now.
  Steps JobEnded();

  // Commands of controls that start nothing (a mode radio) work while a job
  // runs; none work once closing.
  bool AcceptsCommand(bool startsNothing) const;

  void BeginClosing() { closing_ = true; }
  bool Closing() const { return closing_; }
  bool JobRunning() const { return jobRunning_; }

 private:
  Steps OurDeviceGone();

  bool jobRunning_ = false;
  bool closing_ = false;
  bool reportDue_ = false;
  bool refreshDue_ = false;
};
