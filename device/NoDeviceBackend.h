#pragma once
// A HID backend on which no device is ever present: for tools and tests that
// use AltimeterLink only for its files and exports.
#include "device/HidBackend.h"

class NoDeviceBackend : public HidBackend {
 public:
  bool GetInterfacePath(int index, std::wstring& path) override;
  bool GetAttributes(const std::wstring& path, HidAttributes& attributes) override;
  HidOpenResult Open(const std::wstring& path) override;
};
