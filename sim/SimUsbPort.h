#pragma once
// The simulated altimeter as a user handles it on the bench: plugged into a
// USB port in application or bootloader mode and pulled out again, its memory
// chosen, its replies paced like the real device's, and a fault armed for the
// next operation. The demonstration program's simulator window works one.
// Another, unrelated device (a mouse) may come and go beside it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sim/FlightMemory.h"
#include "sim/OtherHidDevices.h"
#include "sim/PortAltimeter.h"
#include "sim/SimAltimeter.h"
#include "sim/SimBootloader.h"
#include "sim/SimHidBackend.h"

class SimUsbPort {
 public:
  explicit SimUsbPort(SimHidBackend& backend);

  // Pulls out what is plugged in, then plugs the altimeter in `mode`; `version`
  // is its firmware version in application mode, its bootloader's otherwise.
  // Returns the interface's path. An armed fault is dropped.
  std::wstring PlugIn(SimPortMode mode, uint16_t version);
  // Returns the path pulled out; empty when nothing was plugged in.
  std::wstring PullOut();
  bool IsPluggedIn() const;
  SimPortMode Mode() const { return mode_; }

  void LoadMemory(MemoryPreset preset);
  // One report per millisecond each way, as USB paces the real device, or at once.
  void SetPaced(bool paced);
  bool IsPaced() const { return paced_; }
  // Arms `fault` for the next operation of the device plugged in (None disarms).
  void ArmFault(SimFault fault);
  // Told, on the thread of the transfer, when a fault has pulled the device out.
  void OnRemovedByFault(std::function<void()> listener);

  // Plugs in an unrelated HID interface (a mouse) beside the altimeter, which
  // stays as it is; returns its path, a new one each time.
  std::wstring PlugInOtherDevice();
  // Pulls out the other device plugged in longest ago; returns its path, empty when none is.
  std::wstring PullOutOtherDevice();

  SimAltimeter& Altimeter();
  SimBootloader& Bootloader() { return *bootloader_; }

 private:
  SimHidBackend& backend_;
  std::shared_ptr<PortAltimeter> altimeter_;
  std::shared_ptr<SimBootloader> bootloader_;
  std::shared_ptr<SimInterface> plugged_;
  SimPortMode mode_ = SimPortMode::Application;
  bool paced_ = false;
  std::function<void()> onRemovedByFault_;
  OtherHidDevices otherDevices_{backend_};
};
