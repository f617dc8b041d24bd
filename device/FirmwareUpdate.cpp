#include <algorithm>
#include <iomanip>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "device/BootloaderReports.h"
#include "device/FirmwareFile.h"
#include "device/LittleEndian.h"
#include "data/Version.h"

namespace {

void Output(uint16_t* destination, uint16_t value) {
  if (destination != nullptr) *destination = value;
}

// The format version is known once the loader got past its check, whether or not it passed.
bool FormatVersionWasRead(int loaded) {
  return loaded == kFirmwareFileLoaded || loaded == kFirmwareFileWrongFormatVersion || loaded == kFirmwareFileNoLength;
}

// A file cut short is not a firmware file: telling the user of a protocol
// error would send them to replug a device that is fine.
int UpdateResultOfFailedLoad(int loaded) {
  switch (loaded) {
    case kFirmwareFileCannotOpen: return -6;
    case kFirmwareFileWrongFormatVersion: return -8;
    default: return -9;  // wrong magic, cut short, or a length that names nothing to write
  }
}

// Loads the file and checks its versions: 0 when the image may be written.
int CheckFirmwareFile(const std::filesystem::path& path, FirmwareImage& firmware, uint16_t* fileFormatVersion,
                      uint16_t* bootloaderVersion, uint16_t* firmwareVersion) {
  uint16_t format = 0;
  uint16_t bootloader = 0;
  uint16_t application = 0;
  const int loaded = LoadFirmwareFile(path, firmware, format, bootloader, application);
  if (FormatVersionWasRead(loaded)) Output(fileFormatVersion, format);
  if (loaded != kFirmwareFileLoaded) return UpdateResultOfFailedLoad(loaded);
  Output(bootloaderVersion, bootloader);
  if (VersionFamily(bootloader) != kBootloaderFamily) return -11;
  Output(firmwareVersion, application);
  if (VersionFamily(application) != kFirmwareFamily) return -12;
  return 0;
}

BootloaderReport AddressReport(uint16_t address) {
  BootloaderReport report{};
  WriteLittleEndian16(&report[1], address);
  return report;
}

BootloaderReport DataReport(const uint8_t* block) {
  BootloaderReport report{};
  std::copy_n(block, kFirmwareBlockSize, &report[1]);
  return report;
}

// Asks the device for its hardware version: 0 when it is of our family.
int CheckHardware(HidDevice& device, uint16_t* hardwareVersion) {
  uint16_t version = 0;
  if (!QueryHardwareVersion(device, version)) return -4;
  Output(hardwareVersion, version);
  if (VersionFamily(version) != kHardwareFamily) return -13;
  // Leaves DebugLog in hexadecimal, as every reader of the log expects after this line.
  DebugLog << "Hardware Version: " << std::hex << std::setfill('0') << std::setw(4) << version << std::setfill(' ')
           << std::endl;
  return 0;
}

int WriteBlock(HidDevice& device, const FirmwareImage& firmware, int index) {
  const uint16_t address = FirmwareImage::BlockAddress(index);
  if (!SendBootloaderReport(device, CodeReport(kBlockCommandCode)) ||
      !SendBootloaderReport(device, AddressReport(address)) ||
      !SendBootloaderReport(device, DataReport(firmware.Block(index)))) {
    return -4;
  }
  BootloaderReport answer;
  if (!ReceiveBootloaderReport(device, answer)) return -4;
  if (answer[1] != kBlockAcceptedCode) {
    DebugLog << "Protocol error." << std::endl;
    return -3;
  }
  DebugLog << "Written Block: " << std::hex << address << std::dec << std::endl;
  return 0;
}

int WriteBlocks(HidDevice& device, const FirmwareImage& firmware, FirmwareProgressFn progress, void* context) {
  const int lastBlock = firmware.LastBlockIndex();
  for (int index = 0; index <= lastBlock; ++index) {
    if (progress != nullptr) progress(context, index, lastBlock);
    if (firmware.IsBlockEmpty(index)) continue;  // erased flash already holds it
    const int written = WriteBlock(device, firmware, index);
    if (written != 0) return written;
  }
  return 0;
}

}  // namespace

int AltimeterLink::UpdateFirmware(FirmwareProgressFn progress, void* context, const std::filesystem::path& path,
                                  uint16_t* fileFormatVersion, uint16_t* hardwareVersion, uint16_t* bootloaderVersion,
                                  uint16_t* firmwareVersion) {
  if (!IsBootloaderMode()) return -10;
  FirmwareImage firmware;
  const int fileChecked = CheckFirmwareFile(path, firmware, fileFormatVersion, bootloaderVersion, firmwareVersion);
  if (fileChecked != 0) return fileChecked;
  if (!device.Open()) return -7;
  // Whatever went next to a bootloader waiting for the rest of a block would be
  // flashed as that rest: nothing is sent until it has been plugged in again.
  if (BlockCutOn(device.path)) return -4;
  DebugLog << "MaxBlockIndex: " << firmware.LastBlockIndex() << std::endl;
  DebugLog << "Connected to device." << std::endl;
  const int hardwareChecked = CheckHardware(device, hardwareVersion);
  if (hardwareChecked != 0) return hardwareChecked;
  NoteBlockCut(true);  // stays so when the blocks end in mid-block, by a throw too
  const int written = WriteBlocks(device, firmware, progress, context);
  // A removal that cut it has started the bootloader afresh by now.
  NoteBlockCut(written == -4 && device.IsOpen());
  return written;
}
