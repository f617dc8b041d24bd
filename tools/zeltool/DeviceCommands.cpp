// zeltool's commands on the altimeter itself: which are plugged in, and the
// settings one holds. The download is DownloadCommand.cpp.
#include <vector>

#include "device/HidDevice.h"
#include "data/Version.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"

namespace {

const char kDevicesUsage[] = "devices";
const char kSettingsUsage[] = "settings";

void WriteDeviceLine(std::ostream& out, const HidDevice& device) {
  const bool bootloader = device.productId == kBootloaderProductId;
  const uint16_t family = bootloader ? kBootloaderFamily : kFirmwareFamily;
  out << (bootloader ? "bootloader mode, bootloader " : "application mode, firmware ")
      << NarrowText(FormatVersion(device.versionNumber));
  if (VersionFamily(device.versionNumber) != family) {
    out << " (not compatible: this program takes " << NarrowText(FormatVersionFamily(family)) << ')';
  }
  out << ": " << NarrowText(device.path) << '\n';
}

int RunDevices(const ZeltoolArgs& args, ZeltoolIo& io) {
  if (!args.empty()) return ZeltoolUsageError(io, kDevicesUsage);
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  std::vector<HidDevice> found;
  for (const uint16_t product : {kApplicationProductId, kBootloaderProductId}) {
    for (HidDevice& device : FindHidDevices(devices->backend, kAltimeterVendorId, product, 0, 0)) {
      found.push_back(std::move(device));
    }
  }
  if (found.empty()) {
    io.err << "zeltool: no altimeter found; is it plugged in?\n";
    return kZeltoolFailure;
  }
  for (const HidDevice& device : found) WriteDeviceLine(io.out, device);
  return kZeltoolSuccess;
}

void WriteLine(std::ostream& out, const char* name, LineMode mode, uint16_t value) {
  out << name;
  switch (mode) {
    case LineMode::Disabled: out << "disabled\n"; return;
    case LineMode::Time: out << "by time, " << value / 10.0 << " s after launch\n"; return;
    case LineMode::Apogee: out << "at apogee\n"; return;
    case LineMode::Altitude: out << "by altitude, " << value << " m above the ground\n"; return;
  }
  out << "unknown mode " << static_cast<int>(mode) << ", value " << value << '\n';
}

void WriteSettings(std::ostream& out, const DeviceSettings& settings) {
  WriteLine(out, "line A              ", settings.lineAMode, settings.lineAValue);
  WriteLine(out, "line B              ", settings.lineBMode, settings.lineBValue);
  out << "inhibit time        " << settings.inhibitTime / 10.0 << " s\n"
      << "calibration offset  " << settings.adcOffset << " ADC counts\n";
}

int RunSettings(const ZeltoolArgs& args, ZeltoolIo& io) {
  if (!args.empty()) return ZeltoolUsageError(io, kSettingsUsage);
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  AltimeterLink link(devices->backend);
  if (!ConnectToAltimeter(link, devices->backend, io)) return kZeltoolFailure;
  if (!ReadDeviceSettings(link, devices->backend, io)) return kZeltoolFailure;
  WriteSettings(io.out, link.settings);
  return kZeltoolSuccess;
}

const ZeltoolCommandRegistration devicesCommand{
    {"devices", kDevicesUsage, "the altimeters plugged in: mode, version and device path", RunDevices}};
const ZeltoolCommandRegistration settingsCommand{
    {"settings", kSettingsUsage, "the settings the altimeter holds: its lines, inhibit time and calibration",
     RunSettings}};

}  // namespace
