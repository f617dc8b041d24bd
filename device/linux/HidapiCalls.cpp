#include "device/linux/HidapiCalls.h"

namespace {

class SystemCalls : public HidapiCalls {
 public:
  int Init() override { return hid_init(); }
  void Exit() override { hid_exit(); }
  hid_device_info* Enumerate(unsigned short vendorId, unsigned short productId) override {
    return hid_enumerate(vendorId, productId);
  }
  void FreeEnumeration(hid_device_info* list) override { hid_free_enumeration(list); }
  hid_device* OpenPath(const char* path) override { return hid_open_path(path); }
  void Close(hid_device* device) override { hid_close(device); }
  int ReadTimeout(hid_device* device, unsigned char* data, size_t length, int milliseconds) override {
    return hid_read_timeout(device, data, length, milliseconds);
  }
  int Write(hid_device* device, const unsigned char* data, size_t length) override {
    return hid_write(device, data, length);
  }
};

}  // namespace

std::shared_ptr<HidapiCalls> SystemHidapi() { return std::make_shared<SystemCalls>(); }
