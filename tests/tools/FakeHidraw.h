#pragma once
// hidapi as HidapiBackend sees it over the kernel's hidraw nodes, in memory.
// A device's unnumbered reports reach the reader without their report ID byte
// (cut to the reader's buffer, as hidraw does) and leave the writer with it.
// An unplugged device leaves the enumeration, and its open handles fail every
// call from then on, a read waiting on one at once.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/linux/HidapiCalls.h"

using HidrawReport = std::vector<uint8_t>;

class FakeHidraw : public HidapiCalls {
 public:
  // A node after those present, in enumeration order.
  void Plug(const std::string& path, uint16_t vendorId, uint16_t productId, uint16_t release);
  void Unplug(const std::string& path);
  // The device sends a report: its bytes as hidraw hands them over.
  void Send(const std::string& path, HidrawReport report);
  // From now on hid_write moves at most `bytes` bytes.
  void LimitWrites(size_t bytes);
  void FailInit();

  // What hid_write was given for the device, one entry per call that reached it.
  std::vector<HidrawReport> Written(const std::string& path) const;
  int Enumerations() const;
  int Exits() const;
  // Calls into the library after its hid_exit: each one a fault.
  int CallsAfterExit() const;

  int Init() override;
  void Exit() override;
  hid_device_info* Enumerate(unsigned short vendorId, unsigned short productId) override;
  void FreeEnumeration(hid_device_info* list) override;
  hid_device* OpenPath(const char* path) override;
  void Close(hid_device* device) override;
  int ReadTimeout(hid_device* device, unsigned char* data, size_t length, int milliseconds) override;
  int Write(hid_device* device, const unsigned char* data, size_t length) override;

 private:
  struct Node {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t release = 0;
    bool present = true;
    std::deque<HidrawReport> pending;
    std::vector<HidrawReport> written;
  };
  struct Handle {
    std::string path;
  };

  Node* NodeOf(hid_device* device);  // null when unplugged
  void NoteCall();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::string> order_;
  std::map<std::string, Node> nodes_;
  std::vector<std::unique_ptr<Handle>> handles_;
  size_t writeLimit_ = SIZE_MAX;
  bool initFails_ = false;
  int enumerations_ = 0;
  int exits_ = 0;
  int callsAfterExit_ = 0;
};
