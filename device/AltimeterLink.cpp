#include "device/AltimeterLink.h"

#include <algorithm>

#include "base/DebugLog.h"
#include "data/Version.h"
#include "device/BootloaderReports.h"

AltimeterLink::AltimeterLink(HidBackend& backend) : backend_(backend) {}

int AltimeterLink::Connect(uint16_t* foundVersion, bool bootloader) {
  device.Close();
  bootloaderMode = false;  // a failed connect leaves no mode behind
  const uint16_t productId = bootloader ? kBootloaderProductId : kApplicationProductId;
  const uint16_t family = bootloader ? kBootloaderFamily : kFirmwareFamily;
  // One discovery pass: the compatible devices are among those of that mode.
  std::vector<HidDevice> ofThatMode = FindHidDevices(backend_, kAltimeterVendorId, productId, 0, 0);
  if (ofThatMode.empty()) return -1;
  const auto compatible = std::find_if(ofThatMode.begin(), ofThatMode.end(), [&](const HidDevice& found) {
    return VersionFamily(found.versionNumber) == family;
  });
  const HidDevice& reported = compatible != ofThatMode.end() ? *compatible : ofThatMode.front();
  if (foundVersion != nullptr) *foundVersion = reported.versionNumber;
  if (compatible == ofThatMode.end()) return -3;
  device = std::move(*compatible);
  if (!device.Open()) return -2;
  if (!BringToKnownState(bootloader, foundVersion)) {
    DebugLog << "Device found but not answering. Connection closed." << std::endl;
    device.Close();
    return -2;
  }
  bootloaderMode = bootloader;
  return 1;
}

// A device keeps what it was doing across a re-plug or a failed job (a running
// emulation, the tail of a cancelled download); the first command after the
// connection must not read what it still sends.
bool AltimeterLink::BringToKnownState(bool bootloader, uint16_t* foundVersion) {
  if (bootloader) return SettleBootloader();
  if (!ResetDevice()) return false;
  DrainInput(kApplicationReportLength);
  repliesMayBeStale_ = false;
  HidAttributes attributes;
  if (!backend_.GetAttributes(device.path, attributes)) return false;
  device.versionNumber = attributes.versionNumber;
  if (foundVersion != nullptr) *foundVersion = attributes.versionNumber;
  return true;
}

bool AltimeterLink::IsConnected() const { return device.IsOpen(); }

bool AltimeterLink::IsBootloaderMode() const { return bootloaderMode; }

void AltimeterLink::Disconnect() {
  device.Close();
  cancelRequested = false;
  bootloaderMode = false;
}

void AltimeterLink::RequestCancel() { cancelRequested = true; }

void AltimeterLink::InterfaceRemoved(const DeviceBroadcast& broadcast) {
  const std::lock_guard<std::mutex> lock(blockCutMutex_);
  if (broadcast.deviceType == DeviceBroadcast::kDeviceInterfaceType && SameInterfaceName(blockCutPath_, broadcast.name)) {
    blockCutPath_.clear();
  }
}

bool AltimeterLink::BlockCutOn(const std::wstring& path) const {
  const std::lock_guard<std::mutex> lock(blockCutMutex_);
  return !blockCutPath_.empty() && SameInterfaceName(blockCutPath_, path);
}

void AltimeterLink::NoteBlockCut(bool cut) {
  const std::lock_guard<std::mutex> lock(blockCutMutex_);
  if (cut) {
    blockCutPath_ = device.path;
  } else if (SameInterfaceName(blockCutPath_, device.path)) {
    blockCutPath_.clear();
  }
}

// No reset exists here, and a bootloader cut off in the middle of a block on
// this connection would flash the query as the rest of the block: it is asked
// nothing until it has been plugged in again, which starts it afresh.
bool AltimeterLink::SettleBootloader() {
  if (BlockCutOn(device.path)) return false;
  DrainInput(kBootloaderReportLength);
  uint16_t answered = 0;
  return QueryHardwareVersion(device, answered);
}
