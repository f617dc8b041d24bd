#include "dialogs/SettingsJobs.h"

#include "data/SensorConverter.h"
#include "device/AltimeterLink.h"

namespace {

constexpr unsigned kBeforeControlsChangeMs = 100;
constexpr wchar_t kCalibrationFailed[] = L"Failed to calibrate.";

// Write Settings and Calibrate Device stay disabled until the next refresh.
void EndWithReadOffered(JobView& view, const wchar_t* line) {
  view.OfferRead();
  view.Say(line);
}

void EndWith(JobView& view, const wchar_t* line) {
  view.Say(line);
  view.ShowIdle();
}

bool Accepted(const SettingsEntry& entry, JobView& view) {
  const std::optional<EntryRefusal> refusal = RefusalOf(entry);
  if (refusal) view.Refuse(*refusal);
  return !refusal;
}

// The entry into the record's fields, with its warnings; false when refused.
bool EntryToSettings(AltimeterLink& link, JobView& view, const SettingsEntry& entry) {
  if (!Accepted(entry, view) || !ApplyEntry(entry, link.settings)) return false;
  if (InhibitIsLarge(link.settings)) view.Warn(SettingsWarning::InhibitLarge);
  if (AnyLineDisabled(link.settings)) view.Warn(SettingsWarning::LinesDisabled);
  return true;
}

// Expected minus measured counts; nullopt, with the calibration ended, when
// the device cannot be read or the offset cannot be stored.
std::optional<int8_t> MeasureOffset(AltimeterLink& link, JobView& view, uint32_t groundAltitude) {
  uint16_t measured = 0;
  if (link.ReadPressureAdc(measured) < 0) {
    EndWith(view, L"Failed.");
    return std::nullopt;
  }
  const int32_t expected = SensorConverter().AdcForAltitude(groundAltitude);
  view.Say(L"ADC Real: " + std::to_wstring(expected));
  view.Say(L"ADC Device: " + std::to_wstring(measured));
  view.Say(L"ADC Offset: " + std::to_wstring(static_cast<int64_t>(expected) - measured));
  const std::optional<int8_t> offset = CalibrationOffset(expected, measured);
  if (!offset) {
    view.Say(L"The offset is out of range: the altimeter can only store -128 to 127.");
    EndWith(view, kCalibrationFailed);
  }
  return offset;
}

}  // namespace

std::optional<EntryRefusal> RefusalOf(const SettingsEntry& entry) {
  if (const std::optional<SettingsBox> box = BoxWithoutNumber(entry)) return EntryRefusal{box};
  if (!FitsRecord(entry)) return EntryRefusal{};
  return std::nullopt;
}

void RunSettingsRead(AltimeterLink& link, JobView& view) {
  view.Say(L"Attempting to connect to device.");
  if (!link.IsConnected()) return EndWithReadOffered(view, kAltimeterNotFound);
  view.Say(L"Altimeter found! Reading settings...");
  if (link.ReadSettings() < 0) return EndWithReadOffered(view, L"Failed to read settings.");
  if (link.settings.ParseOrSetDefaults()) {
    view.Say(L"Settings read successfully.");
  } else {
    view.Say(L"Checksum failed. The device settings are invalid.");
    view.Say(L"Displaying default settings.");
  }
  view.SettingsChanged();
  view.ShowIdle();
  view.GraphChanged();
}

int RunSettingsWrite(AltimeterLink& link, JobView& view, const SettingsEntry& entry) {
  if (!EntryToSettings(link, view, entry)) {
    view.ShowIdle();
    return -1;
  }
  link.settings.Build();
  view.Say(L"Attempting to connect to device.");
  if (!link.IsConnected()) {
    EndWithReadOffered(view, kAltimeterNotFound);
    return -1;
  }
  if (link.ClearData() < 0) {
    view.ShowIdle();
    view.Say(L"Failed to clear data.");
    return -1;
  }
  view.Say(L"Altimeter found! Writing settings...");
  if (link.WriteSettings() < 0) {
    EndWithReadOffered(view, L"Failed to write settings.");
    return -1;
  }
  view.Say(L"Settings written successfully.");
  view.Pause(kBeforeControlsChangeMs);
  view.ShowIdle();
  link.settings.Parse();
  view.SettingsChanged();
  view.GraphChanged();
  return 0;
}

void RunCalibration(AltimeterLink& link, JobView& view, const SettingsEntry& entry, uint32_t groundAltitude) {
  view.ShowBusy();
  if (!link.IsConnected()) return EndWith(view, kAltimeterNotFound);
  if (!Accepted(entry, view)) return EndWith(view, kCalibrationFailed);
  if (link.ClearData() < 0) {
    view.ShowIdle();
    view.Say(L"Failed to clear data.");
    return;
  }
  view.Say(L"Calibrating...");
  // The device's image with the record's fields, which the write builds from.
  const DeviceSettings before = link.settings;
  const int read = link.ReadSettings();
  DeviceSettings calibrated = link.settings;
  link.settings = before;
  if (read < 0) return EndWith(view, L"Failed to read settings.");
  const std::optional<int8_t> offset = MeasureOffset(link, view, groundAltitude);
  if (!offset) return;
  calibrated.adcOffset = *offset;
  link.settings = calibrated;
  view.Say(RunSettingsWrite(link, view, entry) < 0 ? kCalibrationFailed : L"Calibration complete.");
  view.ShowIdle();
  view.GraphChanged();
}
