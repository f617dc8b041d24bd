#pragma once
// The HID stack of Linux: the kernel's hidraw interfaces through hidapi. The
// reports of HidBackend carry the report ID 0 in their first byte; hidraw
// takes it on writes and leaves it out of what it reads, so reads are shifted
// by one byte here.
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "device/HidBackend.h"

class HidapiCalls;
class HidapiLibrary;

class HidapiBackend : public HidBackend {
 public:
  // Starts hidapi (hid_init); it ends with the last of this backend and the
  // connections it opened (hid_exit). Where hidapi cannot start, no interface
  // is ever present.
  HidapiBackend();
  // Over other calls than the library's own: a test's stand-in for hidraw.
  explicit HidapiBackend(std::shared_ptr<HidapiCalls> calls);
  ~HidapiBackend() override;

  // Index 0 enumerates every HID interface (hid_enumerate(0, 0)) once for the
  // pass; the later indexes and GetAttributes answer from that list. The path
  // is hidraw's device node, such as /dev/hidraw3.
  bool GetInterfacePath(int index, std::wstring& path) override;
  // Vendor, product and release number as the pass's enumeration reports them;
  // false when `path` was not in it.
  bool GetAttributes(const std::wstring& path, HidAttributes& attributes) override;
  // hidraw opens one node for reading and writing: both handles are valid
  // together or neither is (no such node, or no permission on it).
  HidOpenResult Open(const std::wstring& path) override;

 private:
  struct ListedInterface {
    std::wstring path;
    HidAttributes attributes;
  };
  std::vector<ListedInterface> ListInterfaces() const;
  // The current pass's list, made first when there is none yet.
  const std::vector<ListedInterface>& Listed();

  std::shared_ptr<HidapiLibrary> library_;
  std::mutex mutex_;  // guards listed_
  std::optional<std::vector<ListedInterface>> listed_;
};
