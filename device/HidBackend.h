#pragma once
// The seam between the device protocols and the HID interfaces of the machine.
// One backend talks to the real SetupAPI/HID stack (device/win32), another to
// simulated altimeters (sim/). Which one is used is decided where the program
// or a test is put together; the protocol code cannot tell them apart.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

struct HidAttributes {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t versionNumber = 0;
};

// An open HID interface: a read handle, a write handle and their shared event.
// Only one transfer is in flight at a time, but Abort may come from another thread.
class HidConnection {
 public:
  virtual ~HidConnection() = default;

  // Move one whole report. Return true only when all `length` bytes moved within
  // `timeoutMs`; false on an immediate failure, a short transfer, a time-out or
  // after Abort. A transfer that times out is cancelled and has completed before
  // these return, so the caller may reuse or free the buffer at once.
  virtual bool ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs) = 0;
  virtual bool WriteReport(const uint8_t* buffer, size_t length, unsigned timeoutMs) = 0;

  // Called from another thread when the device is being closed: a pending
  // transfer ends at once with false, and so does every later one.
  virtual void Abort() = 0;
};

// The outcome of opening an interface: both handles valid, or which failed.
struct HidOpenResult {
  std::shared_ptr<HidConnection> connection;  // null unless both handles opened
  bool readHandleValid = false;
  bool writeHandleValid = false;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;

  // The device path of the present HID interface at `index` (0, 1, ...).
  // Returns false when there is no interface at that index. Index 0 starts a
  // discovery pass: a backend may list the interfaces once there and answer the
  // later indexes, and GetAttributes, from that list until the next pass.
  virtual bool GetInterfacePath(int index, std::wstring& path) = 0;

  // The attributes of the interface at `path`. Returns false when they cannot be read.
  virtual bool GetAttributes(const std::wstring& path, HidAttributes& attributes) = 0;

  // Opens `path` for overlapped reading and writing.
  virtual HidOpenResult Open(const std::wstring& path) = 0;
};
