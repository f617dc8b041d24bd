#include "device/linux/HidapiBackend.h"

#include <hidapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>

// hid_init once per process in practice; connections hold it so that no
// hid_close comes after hid_exit.
class HidapiLibrary {
 public:
  HidapiLibrary() : started_(hid_init() == 0) {}
  ~HidapiLibrary() {
    if (started_) hid_exit();
  }
  HidapiLibrary(const HidapiLibrary&) = delete;
  HidapiLibrary& operator=(const HidapiLibrary&) = delete;

  bool Started() const { return started_; }

 private:
  const bool started_;
};

namespace {

// Short enough that an Abort ends a pending read at once as a user sees it.
constexpr int kAbortPollMs = 20;

struct DeviceCloser {
  void operator()(hid_device* device) const { hid_close(device); }
};
using DeviceHandle = std::unique_ptr<hid_device, DeviceCloser>;

struct EnumerationFreer {
  void operator()(hid_device_info* list) const { hid_free_enumeration(list); }
};
using Enumeration = std::unique_ptr<hid_device_info, EnumerationFreer>;

// hidraw paths are bytes; each one becomes one wide character, so the way
// back is exact whatever the bytes are.
std::wstring WidePath(const char* path) {
  std::wstring wide;
  for (const char* c = path; *c != '\0'; ++c) wide.push_back(static_cast<unsigned char>(*c));
  return wide;
}

std::string NarrowPath(const std::wstring& path) {
  std::string narrow;
  for (const wchar_t c : path) narrow.push_back(static_cast<char>(c));
  return narrow;
}

// The first interface for which `matches` holds; null when none does.
const hid_device_info* FindInterface(const Enumeration& list, const std::function<bool(int, const hid_device_info&)>& matches) {
  int index = 0;
  for (const hid_device_info* info = list.get(); info != nullptr; info = info->next, ++index) {
    if (matches(index, *info)) return info;
  }
  return nullptr;
}

class HidapiConnection : public HidConnection {
 public:
  HidapiConnection(std::shared_ptr<HidapiLibrary> library, DeviceHandle device)
      : library_(std::move(library)), device_(std::move(device)) {}

  // hidraw reads the report without its ID: it lands after byte 0, which is
  // the ID 0 the protocol expects. Polled in short slices so that Abort is seen.
  bool ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs) override {
    if (length < 2) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!aborted_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() < 0) return false;
      const int slice = static_cast<int>(std::min<long long>(left.count(), kAbortPollMs));
      const int read = hid_read_timeout(device_.get(), buffer + 1, length - 1, slice);
      if (read < 0) return false;
      if (read > 0) {
        buffer[0] = 0;
        return static_cast<size_t>(read) == length - 1;
      }
    }
    return false;
  }

  // hidraw hands a write to the kernel at once or fails; it has no time-out.
  bool WriteReport(const uint8_t* buffer, size_t length, unsigned) override {
    if (aborted_) return false;
    const int written = hid_write(device_.get(), buffer, length);
    return written >= 0 && static_cast<size_t>(written) == length;
  }

  void Abort() override { aborted_ = true; }

 private:
  const std::shared_ptr<HidapiLibrary> library_;  // declared first: outlives the device
  const DeviceHandle device_;
  std::atomic<bool> aborted_{false};
};

}  // namespace

HidapiBackend::HidapiBackend() : library_(std::make_shared<HidapiLibrary>()) {}

HidapiBackend::~HidapiBackend() = default;

bool HidapiBackend::GetInterfacePath(int index, std::wstring& path) {
  if (!library_->Started() || index < 0) return false;
  const Enumeration list(hid_enumerate(0, 0));
  const hid_device_info* found = FindInterface(list, [&](int i, const hid_device_info&) { return i == index; });
  if (found == nullptr || found->path == nullptr) return false;
  path = WidePath(found->path);
  return true;
}

bool HidapiBackend::GetAttributes(const std::wstring& path, HidAttributes& attributes) {
  if (!library_->Started()) return false;
  const std::string narrow = NarrowPath(path);
  const Enumeration list(hid_enumerate(0, 0));
  const hid_device_info* found = FindInterface(
      list, [&](int, const hid_device_info& info) { return info.path != nullptr && narrow == info.path; });
  if (found == nullptr) return false;
  attributes.vendorId = found->vendor_id;
  attributes.productId = found->product_id;
  attributes.versionNumber = found->release_number;
  return true;
}

HidOpenResult HidapiBackend::Open(const std::wstring& path) {
  HidOpenResult result;
  if (!library_->Started()) return result;
  DeviceHandle device(hid_open_path(NarrowPath(path).c_str()));
  if (!device) return result;
  result.connection = std::make_shared<HidapiConnection>(library_, std::move(device));
  result.readHandleValid = true;
  result.writeHandleValid = true;
  return result;
}
