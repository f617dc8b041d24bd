#pragma once
// A USB device made in software: a configfs gadget with one HID function
// whose reports are vendor-defined bytes, of one length each way, bound to a
// device controller (a UDC such as dummy_udc.0). What the device says it is
// can only change while it is unbound, as a real device leaves the bus to
// come back as another. The gadget is taken apart when this ends.
#include <cstdint>
#include <filesystem>
#include <string>

#include "sim/linux/UniqueFd.h"

struct GadgetIdentity {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t release = 0;      // bcdDevice
  size_t reportLength = 0;   // data bytes of a report, without its ID; 1 to 255
  std::string manufacturer;
  std::string product;
};

class ConfigfsGadget {
 public:
  // `name`: the gadget's folder under the configfs gadgets; also its serial number.
  explicit ConfigfsGadget(std::string name);
  // Unbinds and removes every folder it made.
  ~ConfigfsGadget();
  ConfigfsGadget(const ConfigfsGadget&) = delete;
  ConfigfsGadget& operator=(const ConfigfsGadget&) = delete;

  // Unbinds what is bound, makes the gadget `identity` and binds it to `udc`.
  // False, with the reason in `error`, when configfs refuses a step.
  bool Plug(const GadgetIdentity& identity, const std::string& udc, std::string& error);
  // Unbinds: the host sees the device pulled out. Close the node first.
  void Unplug();
  bool Plugged() const { return plugged_; }

  // The function's node (/dev/hidgN) opened for non-blocking reads and
  // writes; invalid, with the reason in `error`, when it does not appear
  // within two seconds of the bind.
  UniqueFd OpenNode(std::string& error) const;

 private:
  bool Made(std::string& error);
  bool Describe(const GadgetIdentity& identity, std::string& error) const;
  std::filesystem::path NodePath() const;

  const std::string name_;
  const std::filesystem::path root_;
  bool made_ = false;
  bool plugged_ = false;
};
