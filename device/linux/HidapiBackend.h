#pragma once
// The HID stack of Linux: the kernel's hidraw interfaces through hidapi. The
// reports of HidBackend carry the report ID 0 in their first byte; hidraw
// takes it on writes and leaves it out of what it reads, so reads are shifted
// by one byte here.
#include <memory>

#include "device/HidBackend.h"

class HidapiLibrary;

class HidapiBackend : public HidBackend {
 public:
  // Starts hidapi (hid_init); it ends with the last of this backend and the
  // connections it opened (hid_exit). Where hidapi cannot start, no interface
  // is ever present.
  HidapiBackend();
  ~HidapiBackend() override;

  // Enumerates every HID interface (hid_enumerate(0, 0)) anew for each call;
  // the path is hidraw's device node, such as /dev/hidraw3.
  bool GetInterfacePath(int index, std::wstring& path) override;
  // Vendor, product and release number as the enumeration reports them; false
  // when `path` is no longer enumerated.
  bool GetAttributes(const std::wstring& path, HidAttributes& attributes) override;
  // hidraw opens one node for reading and writing: both handles are valid
  // together or neither is (no such node, or no permission on it).
  HidOpenResult Open(const std::wstring& path) override;

 private:
  std::shared_ptr<HidapiLibrary> library_;
};
