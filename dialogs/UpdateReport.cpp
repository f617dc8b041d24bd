#include "dialogs/UpdateReport.h"

#include "data/Version.h"

namespace {

constexpr int kDecile = 10;
constexpr uint16_t kFileFormatVersion = 0x0100;

const wchar_t* const kReconnect[] = {L"This was most likely caused by prematurely removing the device.",
                                     L"Please reconnect and try again."};

std::wstring Line(const wchar_t* label, uint16_t version) { return label + FormatVersion(version); }

}  // namespace

int UpdatePercent(int blockIndex, int lastBlockIndex) {
  return lastBlockIndex == 0 ? 100 : blockIndex * 100 / lastBlockIndex;
}

std::optional<int> NextProgressDecile(int percent, int& lastShown) {
  const int decile = percent / kDecile * kDecile;
  if (decile == lastShown) return std::nullopt;
  lastShown = decile;
  return decile;
}

std::vector<std::wstring> UpdateResultLines(int result, const UpdateVersions& versions) {
  switch (result) {
    case 0:
      return {Line(L"New firmware version: ", versions.firmware), L"Firmware updated successfully."};
    case -10:
      return {L"The device is not in bootloader mode."};
    case -6:
      return {L"The file could not be opened."};
    case -9:
      return {L"This is not a valid firmware file."};
    case -8:
      return {L"Incorect file version.", Line(L"File version: ", versions.fileFormat),
              Line(L"Expected version: ", kFileFormatVersion)};
    case -12:
      return {L"The firmware version is not intended for use with this software version.",
              Line(L"New firmware version: ", versions.firmware), Line(L"Expected version: ", kFirmwareFamily)};
    case -11:
      return {L"The firmware version is not intended for use with this bootloader version.",
              Line(L"Your bootloader version: ", versions.bootloader), Line(L"Expected version: ", kBootloaderFamily)};
    case -13:
      return {L"The firmware version is not intended for use with your hardware version.",
              Line(L"Your hardware version: ", versions.hardware), Line(L"Expected version: ", kHardwareFamily)};
    case -4:
      return {L"There was a timeout on a read operation.", kReconnect[0], kReconnect[1]};
    case -3:
      return {L"There was a protocol error.", kReconnect[0], kReconnect[1]};
    default:
      return {};
  }
}
