#pragma once
// One HID interface of the altimeter: its path and attributes as found at
// discovery, and, while open, the connection its reports travel over.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"

// A broadcast of a device change, reduced to what matters here: its device type
// (5 for a device interface) and, for a device interface, its name.
struct DeviceBroadcast {
  static constexpr uint32_t kDeviceInterfaceType = 5;  // DBT_DEVTYP_DEVICEINTERFACE
  uint32_t deviceType = 0;
  std::wstring name;
};

class HidDevice {
 public:
  HidDevice() = default;
  HidDevice(HidBackend& backend, std::wstring path, const HidAttributes& attributes);
  HidDevice(HidDevice&& other) noexcept;
  HidDevice& operator=(HidDevice&& other) noexcept;
  ~HidDevice();

  std::wstring path;
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t versionNumber = 0;

  // Opens the read and write handles. Returns true when both are open (at once,
  // without reopening, when they already were); false otherwise, with the reason
  // in DebugLog and nothing left open.
  bool Open();
  // Closes whatever is open. Safe from any thread: a transfer still running on
  // another thread ends with false.
  void Close();
  bool IsOpen() const;

  // Move one whole report of `length` bytes within `timeoutMs`. False when the
  // device is not open, on a failed, short or timed-out transfer.
  bool ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs);
  bool WriteReport(const uint8_t* buffer, size_t length, unsigned timeoutMs);

  // Whether a removal broadcast names this device (whole names, case-insensitive).
  // Logs both names, or "Match Failed.".
  bool MatchesInterfaceName(const DeviceBroadcast& broadcast) const;

 private:
  std::shared_ptr<HidConnection> CurrentConnection() const;

  HidBackend* backend_ = nullptr;  // not owned; outlives every device
  mutable std::mutex mutex_;       // guards connection_ against a Close from the UI thread
  std::shared_ptr<HidConnection> connection_;
};

// Whether two interface names are the same (whole names, case-insensitive):
// the system names them in capitals as often as not.
bool SameInterfaceName(const std::wstring& a, const std::wstring& b);

// Every present HID interface whose attributes match, in enumeration order.
// A vendor or product ID of 0 matches any; the version matches when
// (versionNumber & versionMask) == versionValue. An interface whose attributes
// cannot be read is skipped.
std::vector<HidDevice> FindHidDevices(HidBackend& backend, uint16_t vendorId, uint16_t productId,
                                      uint16_t versionValue, uint16_t versionMask);
