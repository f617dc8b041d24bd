#include "device/win32/Win32HidBackend.h"

#include <windows.h>
#include <setupapi.h>

#include <vector>

extern "C" {
#include <hidsdi.h>
}

#include "device/win32/OverlappedTransfers.h"
#include "device/win32/Win32Handle.h"

namespace {

class DeviceInfoList {
 public:
  explicit DeviceInfoList(const GUID& interfaceClass)
      : list_(SetupDiGetClassDevsW(&interfaceClass, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)) {}
  ~DeviceInfoList() {
    if (list_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(list_);
  }
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;

  HDEVINFO Get() const { return list_; }
  bool IsValid() const { return list_ != INVALID_HANDLE_VALUE; }

 private:
  HDEVINFO list_;
};

// Both handles and the transfers on them, which share one event.
class Win32HidConnection : public HidConnection {
 public:
  Win32HidConnection(UniqueHandle readHandle, UniqueHandle writeHandle, UniqueHandle event)
      : readHandle_(std::move(readHandle)), writeHandle_(std::move(writeHandle)), transfers_(std::move(event)) {}

  bool ReadReport(uint8_t* buffer, size_t length, unsigned timeoutMs) override {
    return transfers_.Run(readHandle_.Get(), length, timeoutMs, [&](OVERLAPPED* overlapped) {
      return ReadFile(readHandle_.Get(), buffer, static_cast<DWORD>(length), nullptr, overlapped);
    });
  }

  bool WriteReport(const uint8_t* buffer, size_t length, unsigned timeoutMs) override {
    return transfers_.Run(writeHandle_.Get(), length, timeoutMs, [&](OVERLAPPED* overlapped) {
      return WriteFile(writeHandle_.Get(), buffer, static_cast<DWORD>(length), nullptr, overlapped);
    });
  }

  void Abort() override { transfers_.Abort({readHandle_.Get(), writeHandle_.Get()}); }

 private:
  UniqueHandle readHandle_;
  UniqueHandle writeHandle_;
  OverlappedTransfers transfers_;
};

UniqueHandle OpenInterface(const std::wstring& path, DWORD access, DWORD sharing, DWORD flags) {
  return UniqueHandle(CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, flags, nullptr));
}

}  // namespace

bool Win32HidBackend::GetInterfacePath(int index, std::wstring& path) {
  GUID hidGuid;
  HidD_GetHidGuid(&hidGuid);
  const DeviceInfoList list(hidGuid);
  if (!list.IsValid()) return false;
  SP_DEVICE_INTERFACE_DATA interfaceData{};
  interfaceData.cbSize = sizeof interfaceData;
  if (!SetupDiEnumDeviceInterfaces(list.Get(), nullptr, &hidGuid, static_cast<DWORD>(index), &interfaceData)) {
    return false;
  }
  DWORD required = 0;
  SetupDiGetDeviceInterfaceDetailW(list.Get(), &interfaceData, nullptr, 0, &required, nullptr);
  if (required < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) return false;
  std::vector<BYTE> buffer(required);
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!SetupDiGetDeviceInterfaceDetailW(list.Get(), &interfaceData, detail, required, nullptr, nullptr)) return false;
  path = detail->DevicePath;
  return true;
}

bool Win32HidBackend::GetAttributes(const std::wstring& path, HidAttributes& attributes) {
  const UniqueHandle query = OpenInterface(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, 0);
  HIDD_ATTRIBUTES hidAttributes{};
  hidAttributes.Size = sizeof hidAttributes;
  if (!query.IsValid() || !HidD_GetAttributes(query.Get(), &hidAttributes)) return false;
  attributes.vendorId = hidAttributes.VendorID;
  attributes.productId = hidAttributes.ProductID;
  attributes.versionNumber = hidAttributes.VersionNumber;
  return true;
}

HidOpenResult Win32HidBackend::Open(const std::wstring& path) {
  UniqueHandle readHandle = OpenInterface(path, GENERIC_READ, FILE_SHARE_WRITE, FILE_FLAG_OVERLAPPED);
  UniqueHandle writeHandle = OpenInterface(path, GENERIC_WRITE, FILE_SHARE_READ, FILE_FLAG_OVERLAPPED);
  HidOpenResult result;
  result.readHandleValid = readHandle.IsValid();
  result.writeHandleValid = writeHandle.IsValid();
  if (!result.readHandleValid || !result.writeHandleValid) return result;
  UniqueHandle event = MakeTransferEvent();
  if (!event.IsValid()) return result;
  result.connection =
      std::make_shared<Win32HidConnection>(std::move(readHandle), std::move(writeHandle), std::move(event));
  return result;
}
