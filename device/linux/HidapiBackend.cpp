#include "device/linux/HidapiBackend.h"

#include <algorithm>
#include <atomic>
#include <chrono>

#include "device/linux/HidapiCalls.h"

// hid_init once per process in practice; connections hold it so that no
// hid_close comes after hid_exit.
class HidapiLibrary {
 public:
  explicit HidapiLibrary(std::shared_ptr<HidapiCalls> calls)
      : calls_(std::move(calls)), started_(calls_->Init() == 0) {}
  ~HidapiLibrary() {
    if (started_) calls_->Exit();
  }
  HidapiLibrary(const HidapiLibrary&) = delete;
  HidapiLibrary& operator=(const HidapiLibrary&) = delete;

  bool Started() const { return started_; }
  HidapiCalls& Calls() const { return *calls_; }

 private:
  const std::shared_ptr<HidapiCalls> calls_;
  const bool started_;
};

namespace {

// Short enough that an Abort ends a pending read at once as a user sees it.
constexpr int kAbortPollMs = 20;

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

struct DeviceCloser {
  HidapiCalls* calls;
  void operator()(hid_device* device) const { calls->Close(device); }
};
using DeviceHandle = std::unique_ptr<hid_device, DeviceCloser>;

class Enumeration {
 public:
  explicit Enumeration(HidapiCalls& calls) : calls_(calls), head_(calls.Enumerate(0, 0)) {}
  ~Enumeration() { calls_.FreeEnumeration(head_); }
  Enumeration(const Enumeration&) = delete;
  Enumeration& operator=(const Enumeration&) = delete;

  const hid_device_info* Head() const { return head_; }

 private:
  HidapiCalls& calls_;
  hid_device_info* const head_;
};

class HidapiConnection : public HidConnection {
 public:
  HidapiConnection(std::shared_ptr<HidapiLibrary> library, DeviceHandle device)
      : library_(std::move(library)), device_(std::move(device)) {}

  // hidraw reads the report without its ID: it lands after byte 0, which is
  // the ID 0 the protocol expects. hidraw cuts a report to the room it is
  // given, so a byte more room than the report needs shows a longer one.
  bool ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs) override {
    if (length < 2) return false;
    std::vector<unsigned char> received(length);
    if (AwaitReport(received, timeoutMs) != static_cast<int>(length - 1)) return false;
    buffer[0] = 0;
    std::copy_n(received.begin(), length - 1, buffer + 1);
    return true;
  }

  // hidraw's write is synchronous: the kernel returns once the report went out
  // or its own USB time-out passed, so `timeoutMs` cannot be kept here,
  // and an Abort ends only the transfers after a write, not the write itself.
  bool WriteReport(const uint8_t* buffer, size_t length, unsigned) override {
    if (aborted_) return false;
    const int written = library_->Calls().Write(device_.get(), buffer, length);
    return written >= 0 && static_cast<size_t>(written) == length;
  }

  void Abort() override { aborted_ = true; }

 private:
  // The size of the first report to arrive within `timeoutMs`; -1 on a
  // failure, a time-out or an Abort. Polled in short slices so that Abort is seen.
  int AwaitReport(std::vector<unsigned char>& received, unsigned timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!aborted_) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      if (left.count() < 0) return -1;
      const int slice = static_cast<int>(std::min<long long>(left.count(), kAbortPollMs));
      const int read = library_->Calls().ReadTimeout(device_.get(), received.data(), received.size(), slice);
      if (read != 0) return read;
    }
    return -1;
  }

  const std::shared_ptr<HidapiLibrary> library_;  // declared first: outlives the device
  const DeviceHandle device_;
  std::atomic<bool> aborted_{false};
};

}  // namespace

HidapiBackend::HidapiBackend() : HidapiBackend(SystemHidapi()) {}

HidapiBackend::HidapiBackend(std::shared_ptr<HidapiCalls> calls)
    : library_(std::make_shared<HidapiLibrary>(std::move(calls))) {}

HidapiBackend::~HidapiBackend() = default;

std::vector<HidapiBackend::ListedInterface> HidapiBackend::ListInterfaces() const {
  const Enumeration list(library_->Calls());
  std::vector<ListedInterface> listed;
  for (const hid_device_info* info = list.Head(); info != nullptr; info = info->next) {
    if (info->path == nullptr) continue;
    listed.push_back({WidePath(info->path), {info->vendor_id, info->product_id, info->release_number}});
  }
  return listed;
}

const std::vector<HidapiBackend::ListedInterface>& HidapiBackend::Listed() {
  if (!listed_) listed_ = ListInterfaces();
  return *listed_;
}

bool HidapiBackend::GetInterfacePath(int index, std::wstring& path) {
  if (!library_->Started() || index < 0) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  if (index == 0) listed_.reset();  // a new pass
  const std::vector<ListedInterface>& listed = Listed();
  if (static_cast<size_t>(index) >= listed.size()) return false;
  path = listed[index].path;
  return true;
}

bool HidapiBackend::GetAttributes(const std::wstring& path, HidAttributes& attributes) {
  if (!library_->Started()) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const ListedInterface& listed : Listed()) {
    if (listed.path != path) continue;
    attributes = listed.attributes;
    return true;
  }
  return false;
}

HidOpenResult HidapiBackend::Open(const std::wstring& path) {
  HidOpenResult result;
  if (!library_->Started()) return result;
  HidapiCalls& calls = library_->Calls();
  DeviceHandle device(calls.OpenPath(NarrowPath(path).c_str()), DeviceCloser{&calls});
  if (!device) return result;
  result.connection = std::make_shared<HidapiConnection>(library_, std::move(device));
  result.readHandleValid = true;
  result.writeHandleValid = true;
  return result;
}
