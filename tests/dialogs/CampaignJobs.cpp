#include "dialogs/CampaignJobs.h"

#include <algorithm>

#include "data/SetDirectory.h"
#include "device/FirmwareFile.h"
#include "dialogs/BenchJobs.h"
#include "dialogs/DownloadJobs.h"
#include "dialogs/SettingsJobs.h"
#include "dialogs/UpdateJob.h"

namespace {

constexpr uint16_t kFileBootloaderVersion = 0x0103;
constexpr uint16_t kFileFirmwareVersion = 0x0142;
constexpr uint16_t kTenthsPerSecond = 10;

bool SamePacket(const DataPacket& a, const DataPacket& b) {
  return a.kind == b.kind && a.secondByte == b.secondByte && a.wordBytes == b.wordBytes;
}

// The boxes as a user types a record into them.
SettingsEntry EntryOf(const std::array<uint8_t, DeviceSettings::kImageSize>& image) {
  const DeviceSettings settings = DeviceSettings::Unpacked(image);
  auto line = [](LineMode mode, uint16_t value) {
    return LineEntry{mode, value / kTenthsPerSecond, value};
  };
  return {line(settings.lineAMode, settings.lineAValue), line(settings.lineBMode, settings.lineBValue),
          settings.inhibitTime / kTenthsPerSecond};
}

// Whether the link holds the device's first `count` packets.
bool HoldsMemoryPrefix(AltimeterLink& link, const FlightMemory& memory, size_t& count) {
  const auto lock = link.LockData();
  count = link.packets.size();
  if (count > memory.size()) return false;
  for (size_t i = 0; i < count; ++i) {
    if (!SamePacket(link.packets[i], memory[i])) return false;
  }
  return true;
}

std::string DownloadFault(AltimeterLink& link, CampaignDevices& devices) {
  const FlightMemory memory = devices.Altimeter().Memory();
  const size_t used = static_cast<size_t>(UsedBlocks(memory));
  size_t count = 0;
  if (!HoldsMemoryPrefix(link, memory, count)) return "the download differs from the device's memory";
  if (count != used) {
    return "the download holds " + std::to_string(count) + " packets of the device's " + std::to_string(used);
  }
  return {};
}

// A cancelled download keeps no flight; a failed one only blocks read in full.
std::string EndedDownloadFault(AltimeterLink& link, CampaignDevices& devices, JobResult result) {
  size_t count = 0;
  if (!HoldsMemoryPrefix(link, devices.Altimeter().Memory(), count)) return "it left packets the device does not hold";
  return result == JobResult::Cancelled && count != 0 ? "a cancelled download left packets" : std::string();
}

std::string FirmwareFault(const CampaignScript& script, CampaignDevices& devices) {
  std::vector<uint8_t> expected = script.firmware;
  expected.resize(kFirmwareImageSize, kErasedFlashByte);
  return devices.Bootloader().Flash() == expected ? std::string() : "the flash differs from the image";
}

std::string SettingsFault(const AltimeterLink& link, CampaignDevices& devices, const char* what) {
  return devices.Altimeter().SettingsImage() == link.settings.image ? std::string() : what;
}

// The device holds the record it had or the one written, never a mixture.
std::string EndedWriteFault(const CampaignScript& script, const AltimeterLink& link, CampaignDevices& devices) {
  const auto held = devices.Altimeter().SettingsImage();
  return held == script.deviceSettings || held == link.settings.image ? std::string()
                                                                       : "the device holds a mixture of records";
}

bool SaidAny(const std::vector<std::wstring>& lines, std::initializer_list<const wchar_t*> wanted) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::wstring& line) {
    return std::any_of(wanted.begin(), wanted.end(), [&](const wchar_t* text) { return line == text; });
  });
}

}  // namespace

JobKind KindOf(CampaignJob job) {
  switch (job) {
    case CampaignJob::Download:
      return JobKind::Download;
    case CampaignJob::Clear:
      return JobKind::ClearMemory;
    case CampaignJob::ReadSettings:
      return JobKind::ReadSettings;
    case CampaignJob::WriteSettings:
      return JobKind::WriteSettings;
    case CampaignJob::Calibrate:
      return JobKind::Calibration;
    case CampaignJob::UpdateFirmware:
      return JobKind::FirmwareUpdate;
    case CampaignJob::EmulateLaunch:
      break;
  }
  return JobKind::Emulation;
}

void PrepareJob(const CampaignScript& script, AltimeterLink& link, const std::filesystem::path& firmwareFile) {
  switch (script.job) {
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

void RunJob(const CampaignScript& script, AltimeterLink& link, JobView& view, const std::filesystem::path& firmwareFile) {
  switch (script.job) {
    case CampaignJob::Download:
      return RunDownload(link, view);
    case CampaignJob::Clear:
      return RunMemoryClear(link, view);
    case CampaignJob::ReadSettings:
      return RunSettingsRead(link, view);
    case CampaignJob::WriteSettings:
      RunSettingsWrite(link, view, EntryOf(script.settingsToWrite));
      return;
    case CampaignJob::Calibrate:
      return RunCalibration(link, view, EntryOf(script.settingsToWrite),
                            static_cast<uint32_t>(script.groundAltitude));
    case CampaignJob::UpdateFirmware:
      return RunFirmwareUpdate(link, view, firmwareFile);
    case CampaignJob::EmulateLaunch:
      return RunBenchJob(link, view, BenchJob::EmulateLaunch);
  }
}

JobResult ResultOf(CampaignJob job, const std::vector<std::wstring>& lines, bool readOffered) {
  bool succeeded = false;
  switch (job) {
    case CampaignJob::Download:
      if (SaidAny(lines, {L"Failed to read data."}) && !readOffered) return JobResult::Cancelled;
      succeeded = SaidAny(lines, {L"Data read successfully."});
      break;
    case CampaignJob::Clear:
      succeeded = SaidAny(lines, {L"Data cleared successfully."});
      break;
    case CampaignJob::ReadSettings:
      succeeded = SaidAny(lines, {L"Settings read successfully.", L"Displaying default settings."});
      break;
    case CampaignJob::WriteSettings:
      succeeded = SaidAny(lines, {L"Settings written successfully."});
      break;
    case CampaignJob::Calibrate:
      succeeded = SaidAny(lines, {L"Calibration complete."});
      break;
    case CampaignJob::UpdateFirmware:
      succeeded = SaidAny(lines, {L"Firmware updated successfully."});
      break;
    case CampaignJob::EmulateLaunch:
      succeeded = SaidAny(lines, {L"Done."});
      break;
  }
  return succeeded ? JobResult::Succeeded : JobResult::Failed;
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

std::string EndedEarlyFault(const CampaignScript& script, AltimeterLink& link, CampaignDevices& devices,
                            JobResult result) {
  switch (script.job) {
    case CampaignJob::Download:
      return EndedDownloadFault(link, devices, result);
    case CampaignJob::WriteSettings:
      return EndedWriteFault(script, link, devices);
    case CampaignJob::UpdateFirmware:
      return link.IsConnected() && !link.IsBootloaderMode() ? "a failed update left the link out of bootloader mode"
                                                            : std::string();
    default:
      return {};
  }
}
