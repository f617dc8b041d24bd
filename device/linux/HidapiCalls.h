#pragma once
// The hidapi calls HidapiBackend makes, one for one, so that a test can stand
// in for the kernel's hidraw devices.
#include <hidapi.h>

#include <cstddef>
#include <memory>

class HidapiCalls {
 public:
  virtual ~HidapiCalls() = default;

  virtual int Init() = 0;
  virtual void Exit() = 0;
  virtual hid_device_info* Enumerate(unsigned short vendorId, unsigned short productId) = 0;
  virtual void FreeEnumeration(hid_device_info* list) = 0;
  virtual hid_device* OpenPath(const char* path) = 0;
  virtual void Close(hid_device* device) = 0;
  virtual int ReadTimeout(hid_device* device, unsigned char* data, size_t length, int milliseconds) = 0;
  virtual int Write(hid_device* device, const unsigned char* data, size_t length) = 0;
};

// The hidapi library itself.
std::shared_ptr<HidapiCalls> SystemHidapi();
