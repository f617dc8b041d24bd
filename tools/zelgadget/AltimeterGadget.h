#pragma once
// The simulated altimeter on a real USB stack: the same models the simulated
// port plugs in (sim/PortAltimeter.h, sim/SimBootloader.h), served through a
// configfs HID gadget bound to a device controller, with the real device's
// identity in each mode. Plugging it in again in another mode re-enumerates
// as the real device does: it leaves the bus and comes back as the other.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

#include "sim/FlightMemory.h"
#include "sim/PortAltimeter.h"
#include "sim/SimBootloader.h"
#include "sim/linux/ConfigfsGadget.h"
#include "sim/linux/HidgTransport.h"
#include "sim/linux/UniqueFd.h"

class AltimeterGadget {
 public:
  // The gadget `name` (its configfs folder and serial number) on `udc`.
  AltimeterGadget(std::string name, std::string udc);
  ~AltimeterGadget();
  AltimeterGadget(const AltimeterGadget&) = delete;
  AltimeterGadget& operator=(const AltimeterGadget&) = delete;

  // Pulls out what is plugged in, then binds the gadget in `mode`; `version`
  // is the firmware's in application mode, the bootloader's otherwise. An
  // armed fault is dropped; the pace stays. False, with the reason in `error`.
  bool PlugIn(SimPortMode mode, uint16_t version, std::string& error);
  // Unbinds; the host sees the altimeter pulled out.
  void PullOut();
  bool IsPluggedIn() const { return transport_ != nullptr; }

  void LoadMemory(MemoryPreset preset);
  // One report per USB frame each way, as the real device, or at once.
  void SetPaced(bool paced);
  // Arms `fault` for the next operation of the device plugged in (None
  // disarms). A removal stops the transport at once and signals PulledOutSignal.
  void ArmFault(SimFault fault);
  // Readable once a fault has pulled the device out; PullOut then unbinds it
  // and clears the signal.
  int PulledOutSignal() const { return pulledOut_.Get(); }

  // What the device holds: the flight memory, the bootloader's flash, the
  // settings image.
  const PortAltimeter& Altimeter() const { return *altimeter_; }
  const SimBootloader& Bootloader() const { return *bootloader_; }
  // Reports moved since the device was plugged in.
  int ReportsFromHost() const;
  int ReportsToHost() const;

 private:
  const std::string udc_;
  const std::shared_ptr<PortAltimeter> altimeter_;
  const std::shared_ptr<SimBootloader> bootloader_;
  const UniqueFd pulledOut_;
  ConfigfsGadget gadget_;
  bool paced_ = false;
  std::unique_ptr<HidgTransport> transport_;  // while plugged in; closed before the unbind
};
