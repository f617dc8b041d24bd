#include "app/win32/ToolCommands.h"

#include <cstring>
#include <vector>

#include "app/win32/Application.h"
#include "app/win32/DisplayedFlight.h"
#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "dialogs/win32/AboutWindow.h"
#include "dialogs/win32/CaptureWindow.h"
#include "dialogs/win32/ChipLoadWindow.h"
#include "dialogs/win32/ControlOptionsWindow.h"
#include "dialogs/win32/UpdateWindow.h"
#include "view/win32/Graph.h"

namespace {

std::vector<DataPacket> PacketsOf(const AltimeterLink& link) {
  const auto data = link.LockData();
  return link.packets;
}

bool SamePackets(const std::vector<DataPacket>& a, const std::vector<DataPacket>& b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(DataPacket)) == 0);
}

// A dialog over the program's link, shown modally and gone when it ends.
template <typename Dialog>
void ShowDialog(HWND owner) {
  Dialog dialog(ProgramLink());
  dialog.ShowModal(owner);
}

}  // namespace

void DownloadDataCommand(HWND owner) {
  AltimeterLink& link = ProgramLink();
  const std::vector<DataPacket> before = PacketsOf(link);
  CCaptureWindow dialog(link);
  dialog.ShowModal(owner);
  // Sets read again from the altimeter are no longer the file's, even when only some were read.
  if (!SamePackets(before, PacketsOf(link))) SetsCameFromAltimeter();
  const int32_t chosen = dialog.GetSelectedSet();
  DebugLog << "Selected Set: " << chosen << std::endl;
  link.SelectDataSet(chosen < 0 ? 0 : chosen);
  RefreshGraph();
}

void DeviceSettingsCommand(HWND owner) { ShowDialog<CChipLoadWindow>(owner); }

void ControlDeviceCommand(HWND owner) { ShowDialog<CControlOptionsWindow>(owner); }

void UpdateFirmwareCommand(HWND owner) { ShowDialog<CUpdateWindow>(owner); }

void AboutCommand(HWND owner) { ShowDialog<CAboutWindow>(owner); }
