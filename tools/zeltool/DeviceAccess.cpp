#include "tools/zeltool/DeviceAccess.h"

#include <vector>

#include "device/HidDevice.h"
#include "data/Version.h"
#include "tools/zeltool/ArgText.h"

namespace {

ZeltoolDevices* installed = nullptr;

std::string VersionText(uint16_t version) { return NarrowText(FormatVersion(version)); }

bool IsPresent(HidBackend& backend, const std::wstring& path) {
  std::wstring present;
  for (int index = 0; backend.GetInterfacePath(index, present); ++index) {
    if (present == path) return true;
  }
  return false;
}

// Why no altimeter in application mode was found: one in its bootloader, or none.
std::string DescribeAbsence(HidBackend& backend) {
  const std::vector<HidDevice> bootloaders = FindHidDevices(backend, kAltimeterVendorId, kBootloaderProductId, 0, 0);
  if (bootloaders.empty()) return "no altimeter found; is it plugged in?";
  return "the altimeter is in bootloader mode (bootloader " + VersionText(bootloaders.front().versionNumber) +
         "), where it holds no flights; it must run its firmware";
}

std::string DescribeConnectFailure(int result, uint16_t version, HidBackend& backend) {
  switch (result) {
    case -3:
      return "the altimeter runs firmware " + VersionText(version) + "; this program talks to firmware " +
             NarrowText(FormatVersionFamily(kFirmwareFamily)) + " only";
    case -2:
      return "the altimeter cannot be opened: another program holds it, or this user may not use it "
             "(on Linux see packaging/linux/70-zelusb.rules)";
    default: return DescribeAbsence(backend);
  }
}

}  // namespace

ZeltoolDevices::ZeltoolDevices(HidBackend& backend, bool progressIsTerminal)
    : backend(backend), progressIsTerminal(progressIsTerminal) {
  installed = this;
}

ZeltoolDevices::~ZeltoolDevices() { installed = nullptr; }

ZeltoolDevices* ZeltoolDevices::Installed() { return installed; }

ZeltoolDevices* DevicesOrComplain(ZeltoolIo& io) {
  if (installed == nullptr) io.err << "zeltool: this build of zeltool reaches no altimeters\n";
  return installed;
}

bool ConnectToAltimeter(AltimeterLink& link, HidBackend& backend, ZeltoolIo& io) {
  uint16_t version = 0;
  const int result = link.Connect(&version, false);
  if (result == 1) return true;
  io.err << "zeltool: " << DescribeConnectFailure(result, version, backend) << '\n';
  return false;
}

std::string DescribeDeviceFailure(int result, HidBackend& backend, const std::wstring& path) {
  if (!IsPresent(backend, path)) return "the altimeter was unplugged";
  switch (result) {
    case -1: return "the altimeter stopped answering";
    case -3: return "the altimeter answered out of turn";
    default: return "the altimeter did not take the command";
  }
}

SettingsRead ReadDeviceSettings(AltimeterLink& link, HidBackend& backend, ZeltoolIo& io) {
  const int result = link.ReadSettings();
  if (result != 0) {
    io.err << "zeltool: the settings could not be read: " << DescribeDeviceFailure(result, backend, link.device.path)
           << '\n';
    return SettingsRead::Failed;
  }
  if (link.settings.ParseOrSetDefaults()) return SettingsRead::Valid;
  io.err << "zeltool: warning: the altimeter's settings fail their checksum; the defaults stand in for them\n";
  return SettingsRead::DefaultsStandIn;
}
