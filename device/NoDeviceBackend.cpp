#include "device/NoDeviceBackend.h"

bool NoDeviceBackend::GetInterfacePath(int, std::wstring&) { return false; }

bool NoDeviceBackend::GetAttributes(const std::wstring&, HidAttributes&) { return false; }

HidOpenResult NoDeviceBackend::Open(const std::wstring&) { return {}; }
