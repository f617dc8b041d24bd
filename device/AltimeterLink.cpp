#include "device/AltimeterLink.h"

#include "data/Version.h"

AltimeterLink::AltimeterLink(HidBackend& backend) : backend_(backend) {}

int AltimeterLink::Connect(uint16_t* foundVersion, bool bootloader) {
  device.Close();
  bootloaderMode = false;  // a failed connect leaves no mode behind
  const uint16_t productId = bootloader ? kBootloaderProductId : kApplicationProductId;
  const uint16_t family = bootloader ? kBootloaderFamily : kFirmwareFamily;
  std::vector<HidDevice> compatible =
      FindHidDevices(backend_, kAltimeterVendorId, productId, family, kVersionFamilyMask);
  const std::vector<HidDevice> ofThatMode = FindHidDevices(backend_, kAltimeterVendorId, productId, 0, 0);
  if (compatible.empty() && ofThatMode.empty()) return -1;
  if (compatible.empty()) {
    if (foundVersion != nullptr) *foundVersion = ofThatMode.front().versionNumber;
    return -3;
  }
  if (foundVersion != nullptr) *foundVersion = compatible.front().versionNumber;
  device = std::move(compatible.front());
  if (!device.Open()) return -2;
  bootloaderMode = bootloader;
  return 1;
}

bool AltimeterLink::IsConnected() const { return device.IsOpen(); }

bool AltimeterLink::IsBootloaderMode() const { return bootloaderMode; }

void AltimeterLink::Disconnect() {
  device.Close();
  cancelRequested = false;
  bootloaderMode = false;
}

void AltimeterLink::RequestCancel() { cancelRequested = true; }
