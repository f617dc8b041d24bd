#include "dialogs/CampaignJobs.h"

#include <optional>

#include "data/SensorConverter.h"
#include "device/FirmwareFile.h"
#include "dialogs/SettingsEntry.h"

namespace {

constexpr uint16_t kFileBootloaderVersion = 0x0103;
constexpr uint16_t kFileFirmwareVersion = 0x0142;
constexpr int kOffsetOutOfRange = -100;

bool SamePacket(const DataPacket& a, const DataPacket& b) {
  return a.kind == b.kind && a.secondByte == b.secondByte && a.wordBytes == b.wordBytes;
}

// As Device Settings calibrates: the offset that makes the measured count read
// as the ground altitude, stored with the rest of the record.
int Calibrate(const CampaignScript& script, AltimeterLink& link) {
  uint16_t measured = 0;
  const int read = link.ReadPressureAdc(measured);
  if (read < 0) return read;
  const std::optional<int8_t> offset =
      CalibrationOffset(SensorConverter().AdcForAltitude(script.groundAltitude), measured);
  if (!offset) return kOffsetOutOfRange;
  link.settings.adcOffset = *offset;
  link.settings.Build();
  return link.WriteSettings();
}

std::string DownloadFault(AltimeterLink& link, CampaignDevices& devices) {
  const FlightMemory memory = devices.Altimeter().Memory();
  const auto lock = link.LockData();
  const size_t used = static_cast<size_t>(UsedBlocks(memory));
  if (link.packets.size() != used) {
    return "the download holds " + std::to_string(link.packets.size()) + " packets of the device's " +
           std::to_string(used);
  }
  for (size_t i = 0; i < used; ++i) {
    if (!SamePacket(link.packets[i], memory[i])) return "downloaded packet " + std::to_string(i) + " differs";
  }
  return {};
}

std::string FirmwareFault(const CampaignScript& script, CampaignDevices& devices) {
  std::vector<uint8_t> expected = script.firmware;
  expected.resize(kFirmwareImageSize, kErasedFlashByte);
  return devices.Bootloader().Flash() == expected ? std::string() : "the flash differs from the image";
}

std::string SettingsFault(const AltimeterLink& link, CampaignDevices& devices, const char* what) {
  return devices.Altimeter().SettingsImage() == link.settings.image ? std::string() : what;
}

}  // namespace

void PrepareJob(const CampaignScript& script, AltimeterLink& link, const std::filesystem::path& firmwareFile) {
  switch (script.job) {
    case CampaignJob::WriteSettings:
      link.settings = DeviceSettings::Unpacked(script.settingsToWrite);
      link.settings.Build();
      break;
    case CampaignJob::UpdateFirmware:
      SaveFirmwareFile(firmwareFile, *FirmwareImage::FromPlain(script.firmware), kFileBootloaderVersion,
                       kFileFirmwareVersion);
      break;
    case CampaignJob::EmulateLaunch: {
      const auto lock = link.LockData();
      link.currentSet.adc.assign(static_cast<size_t>(script.emulationSamples), script.emulationSample);
      break;
    }
    default:
      break;
  }
}

int RunJob(const CampaignScript& script, AltimeterLink& link, const std::filesystem::path& firmwareFile) {
  switch (script.job) {
    case CampaignJob::Download:
      return link.ReadData(nullptr, nullptr);
    case CampaignJob::Clear:
      return link.ClearData();
    case CampaignJob::ReadSettings:
      return link.ReadSettings();
    case CampaignJob::WriteSettings:
      return link.WriteSettings();
    case CampaignJob::Calibrate:
      return Calibrate(script, link);
    case CampaignJob::UpdateFirmware:
      return link.UpdateFirmware(nullptr, nullptr, firmwareFile, nullptr, nullptr, nullptr, nullptr);
    case CampaignJob::EmulateLaunch:
      return link.EmulateLaunch(nullptr, nullptr) ? kCommandOk : kTransferFailed;
  }
  return kTransferFailed;
}

std::string CompletedJobFault(const CampaignScript& script, AltimeterLink& link, CampaignDevices& devices) {
  switch (script.job) {
    case CampaignJob::Download:
      return DownloadFault(link, devices);
    case CampaignJob::Clear:
      return UsedBlocks(devices.Altimeter().Memory()) == 0 ? std::string() : "the memory was not cleared";
    case CampaignJob::ReadSettings:
      return SettingsFault(link, devices, "the settings read differ from the device's");
    case CampaignJob::WriteSettings:
    case CampaignJob::Calibrate:
      return SettingsFault(link, devices, "the device's settings differ from those written");
    case CampaignJob::UpdateFirmware:
      return FirmwareFault(script, devices);
    case CampaignJob::EmulateLaunch:
      return devices.Altimeter().Emulating() ? "the device still emulates" : std::string();
  }
  return {};
}
