#include "device/HidDevice.h"

#include <cwctype>

#include "base/DebugLog.h"

bool SameInterfaceName(const std::wstring& a, const std::wstring& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(a[i]) != std::towlower(b[i])) return false;
  }
  return true;
}

HidDevice::HidDevice(HidBackend& backend, std::wstring devicePath, const HidAttributes& attributes)
    : path(std::move(devicePath)),
      vendorId(attributes.vendorId),
      productId(attributes.productId),
      versionNumber(attributes.versionNumber),
      backend_(&backend) {}

HidDevice::HidDevice(HidDevice&& other) noexcept { *this = std::move(other); }

HidDevice& HidDevice::operator=(HidDevice&& other) noexcept {
  if (this == &other) return *this;
  Close();
  path = std::move(other.path);
  vendorId = other.vendorId;
  productId = other.productId;
  versionNumber = other.versionNumber;
  backend_ = other.backend_;
  std::lock_guard<std::mutex> lock(mutex_);
  std::lock_guard<std::mutex> otherLock(other.mutex_);
  connection_ = std::move(other.connection_);
  return *this;
}

HidDevice::~HidDevice() { Close(); }

bool HidDevice::Open() {
  if (IsOpen()) return true;
  if (backend_ == nullptr) return false;
  HidOpenResult result = backend_->Open(path);
  if (!result.readHandleValid || !result.writeHandleValid) {
    DebugLog << "Cant get USB file handle. The file is locked." << std::endl;
    if (!result.readHandleValid) DebugLog << "Invalid read handle." << std::endl;
    if (!result.writeHandleValid) DebugLog << "Invalid write handle." << std::endl;
  }
  if (!result.connection) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  connection_ = std::move(result.connection);
  return true;
}

void HidDevice::Close() {
  std::shared_ptr<HidConnection> closing;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    closing.swap(connection_);
  }
  // A worker may still hold the connection for a running transfer; Abort ends
  // that transfer and the handles close when the last holder lets go.
  if (closing) closing->Abort();
}

bool HidDevice::IsOpen() const { return CurrentConnection() != nullptr; }

std::shared_ptr<HidConnection> HidDevice::CurrentConnection() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return connection_;
}

bool HidDevice::ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs) {
  const std::shared_ptr<HidConnection> connection = CurrentConnection();
  return connection && connection->ReadReport(buffer, length, timeoutMs);
}

bool HidDevice::WriteReport(const uint8_t* buffer, size_t length, unsigned timeoutMs) {
  const std::shared_ptr<HidConnection> connection = CurrentConnection();
  return connection && connection->WriteReport(buffer, length, timeoutMs);
}

bool HidDevice::MatchesInterfaceName(const DeviceBroadcast& broadcast) const {
  if (broadcast.deviceType != DeviceBroadcast::kDeviceInterfaceType) {
    DebugLog << "Match Failed." << std::endl;
    return false;
  }
  DebugLog << "->" << LogText(path) << std::endl;
  DebugLog << "->" << LogText(broadcast.name) << std::endl;
  if (SameInterfaceName(path, broadcast.name)) return true;
  DebugLog << "Match Failed." << std::endl;
  return false;
}

std::vector<HidDevice> FindHidDevices(HidBackend& backend, uint16_t vendorId, uint16_t productId,
                                      uint16_t versionValue, uint16_t versionMask) {
  std::vector<HidDevice> found;
  std::wstring path;
  for (int index = 0; backend.GetInterfacePath(index, path); ++index) {
    HidAttributes attributes;
    // Gone since it was listed, as in a hot-plug: the interfaces after it still count.
    if (!backend.GetAttributes(path, attributes)) continue;
    const bool vendorMatches = vendorId == 0 || attributes.vendorId == vendorId;
    const bool productMatches = productId == 0 || attributes.productId == productId;
    const bool versionMatches = (attributes.versionNumber & versionMask) == versionValue;
    if (vendorMatches && productMatches && versionMatches) found.emplace_back(backend, path, attributes);
  }
  return found;
}
