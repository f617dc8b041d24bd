// zeltool's commands on the altimeter itself: which are plugged in, and the
// settings one holds, as text or, with --json, for scripts. The download is
// DownloadCommand.cpp.
#include <vector>

#include "device/HidDevice.h"
#include "data/Version.h"
#include "tools/zeltool/ArgText.h"
#include "tools/zeltool/DeviceAccess.h"
#include "tools/zeltool/JsonText.h"

namespace {

const char kDevicesUsage[] = "devices [--json]";
const char kSettingsUsage[] = "settings [--json]";

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

// The mode by name and the value as stored; the value in its unit where the
// mode gives it one, the mode's code where the mode is unknown.
std::string LineJson(LineMode mode, uint16_t value) {
  const auto line = [&](const char* modeName, const char* unit, const std::string& inUnit) {
    std::vector<std::string> members{JsonMember("mode", JsonString(modeName)),
                                     JsonMember("value", std::to_string(value))};
    if (unit != nullptr) members.push_back(JsonMember(unit, inUnit));
    return JsonObject(members);
  };
  switch (mode) {
    case LineMode::Disabled: return line("disabled", nullptr, "");
    case LineMode::Time: return line("time", "seconds", JsonTenths(value));
    case LineMode::Apogee: return line("apogee", nullptr, "");
    case LineMode::Altitude: return line("altitude", "metres", std::to_string(value));
  }
  return line("unknown", "modeCode", std::to_string(static_cast<int>(mode)));
}

void WriteSettingsJson(std::ostream& out, const DeviceSettings& settings, bool checksumValid) {
  out << JsonObject({JsonMember("lineA", LineJson(settings.lineAMode, settings.lineAValue)),
                     JsonMember("lineB", LineJson(settings.lineBMode, settings.lineBValue)),
                     JsonMember("inhibitSeconds", JsonTenths(settings.inhibitTime)),
                     JsonMember("calibrationOffset", std::to_string(settings.adcOffset)),
                     JsonMember("checksumValid", JsonBool(checksumValid))})
      << '\n';
}

int RunSettings(const ZeltoolArgs& args, ZeltoolIo& io) {
  bool json = false;
  if (!ParseJsonOption(args, json)) return ZeltoolUsageError(io, kSettingsUsage);
  ZeltoolDevices* devices = DevicesOrComplain(io);
  if (devices == nullptr) return kZeltoolFailure;
  AltimeterLink link(devices->backend);
  if (!ConnectToAltimeter(link, devices->backend, io)) return kZeltoolFailure;
  const SettingsRead read = ReadDeviceSettings(link, devices->backend, io);
  if (read == SettingsRead::Failed) return kZeltoolFailure;
  if (json) {
    WriteSettingsJson(io.out, link.settings, read == SettingsRead::Valid);
  } else {
    WriteSettings(io.out, link.settings);
  }
  return kZeltoolSuccess;
}

const ZeltoolCommandRegistration devicesCommand{
    {"devices", kDevicesUsage, "the altimeters plugged in: mode, version and device path", RunDevices}};
const ZeltoolCommandRegistration settingsCommand{
    {"settings", kSettingsUsage, "the settings the altimeter holds: its lines, inhibit time and calibration",
     RunSettings}};

}  // namespace
