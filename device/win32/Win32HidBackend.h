#pragma once
// The real HID stack: SetupAPI enumeration of the HID interface class, HID
// attributes, and overlapped report I/O on the interface path.
#include "device/HidBackend.h"

class Win32HidBackend : public HidBackend {
 public:
  bool GetInterfacePath(int index, std::wstring& path) override;
  bool GetAttributes(const std::wstring& path, HidAttributes& attributes) override;
  HidOpenResult Open(const std::wstring& path) override;
};
