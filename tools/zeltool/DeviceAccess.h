#pragma once
// How zeltool's device commands (devices, download, settings) reach the
// altimeter. The entry that puts zeltool together installs the machine's HID
// backend for the run; a test installs a simulated one. The commands are
// portable: they only see HidBackend and AltimeterLink.
#include <cstdint>
#include <string>

#include "device/AltimeterLink.h"
#include "device/HidBackend.h"
#include "tools/zeltool/CommandTable.h"

class ZeltoolDevices {
 public:
  // Installs `backend` for the device commands while this lives (one at a
  // time). `progressIsTerminal` says whether standard error, where the
  // download's progress goes, is a terminal: there it is redrawn in place,
  // elsewhere written as plain lines.
  ZeltoolDevices(HidBackend& backend, bool progressIsTerminal);
  ~ZeltoolDevices();
  ZeltoolDevices(const ZeltoolDevices&) = delete;
  ZeltoolDevices& operator=(const ZeltoolDevices&) = delete;

  // The one installed; null when none is.
  static ZeltoolDevices* Installed();

  HidBackend& backend;
  const bool progressIsTerminal;
};

// The installed devices, or null after saying on `io.err` that this build
// reaches none.
ZeltoolDevices* DevicesOrComplain(ZeltoolIo& io);

// Connects `link` to the altimeter in application mode. False after one line
// on `io.err` saying why not: none present, one in bootloader mode, firmware
// of another family, or one that cannot be opened.
bool ConnectToAltimeter(AltimeterLink& link, HidBackend& backend, ZeltoolIo& io);

// Why a command of the protocol failed with `result`, for a message: the
// altimeter at `path` unplugged, or what it did.
std::string DescribeDeviceFailure(int result, HidBackend& backend, const std::wstring& path);

enum class SettingsRead { Failed, Valid, DefaultsStandIn };

// Reads and parses the settings record into link.settings: Valid, or
// DefaultsStandIn when its checksum is wrong (said on `io.err`); Failed after
// a line on `io.err` saying why.
SettingsRead ReadDeviceSettings(AltimeterLink& link, HidBackend& backend, ZeltoolIo& io);
