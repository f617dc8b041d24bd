// zeltool devices: the altimeters plugged in, as text or, with --json, for
// scripts. The other commands on the altimeter are SettingsCommand.cpp,
// DownloadCommand.cpp and FirmwareUpdateCommand.cpp.
#include <vector>

#include "device/HidDevice.h"
#include "data/Version.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/JsonText.h"

namespace {

const char kDevicesUsage[] = "devices [--json]";

// No arguments, or "--json" alone.
bool ParseJsonOption(const ZeltoolArgs& args, bool& json) {
  json = args.size() == 1 && args[0] == L"--json";
  return args.empty() || json;
}

bool IsBootloader(const HidDevice& device) { return device.productId == kBootloaderProductId; }
uint16_t FamilyTaken(const HidDevice& device) { return IsBootloader(device) ? kBootloaderFamily : kFirmwareFamily; }
bool IsCompatible(const HidDevice& device) { return VersionFamily(device.versionNumber) == FamilyTaken(device); }

void WriteDeviceLine(std::ostream& out, const HidDevice& device) {
  out << (IsBootloader(device) ? "bootloader mode, bootloader " : "application mode, firmware ")
      << NarrowText(FormatVersion(device.versionNumber));
  if (!IsCompatible(device)) {
    out << " (not compatible: this program takes " << NarrowText(FormatVersionFamily(FamilyTaken(device))) << ')';
  }
  out << ": " << NarrowText(device.path) << '\n';
}

std::string DeviceJson(const HidDevice& device) {
  return JsonObject({JsonMember("mode", JsonString(IsBootloader(device) ? "bootloader" : "application")),
                     JsonMember("version", JsonString(NarrowText(FormatVersion(device.versionNumber)))),
                     JsonMember("compatible", JsonBool(IsCompatible(device))),
                     JsonMember("path", JsonString(NarrowText(device.path)))});
}

void WriteDevicesJson(std::ostream& out, const std::vector<HidDevice>& found) {
  std::vector<std::string> devices;
  for (const HidDevice& device : found) devices.push_back(DeviceJson(device));
  out << JsonObject({JsonMember("devices", JsonArray(devices))}) << '\n';
}

int RunDevices(const ZeltoolArgs& args, ZeltoolIo& io) {
  bool json = false;
  if (!ParseJsonOption(args, json)) return ZeltoolUsageError(io, kDevicesUsage);
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  std::vector<HidDevice> found;
  for (const uint16_t product : {kApplicationProductId, kBootloaderProductId}) {
    for (HidDevice& device : FindHidDevices(devices->backend, kAltimeterVendorId, product, 0, 0)) {
      found.push_back(std::move(device));
    }
  }
  // None found is still an answer to a script: an empty list, with the status saying that nothing was found.
  if (json) WriteDevicesJson(io.out, found);
  if (found.empty()) {
    io.err << "zeltool: no altimeter found; is it plugged in?\n";
    return kZeltoolFailure;
  }
  if (!json) {
    for (const HidDevice& device : found) WriteDeviceLine(io.out, device);
  }
  return kZeltoolSuccess;
}

const ZeltoolCommandRegistration devicesCommand{
    {"devices", kDevicesUsage, "the altimeters plugged in: mode, version and device path", RunDevices}};

}  // namespace
