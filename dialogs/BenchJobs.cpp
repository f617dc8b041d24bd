#include "dialogs/BenchJobs.h"

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "dialogs/ControlOptionsText.h"

namespace {

void EndWith(JobView& view, const wchar_t* line) {
  view.Say(line);
  view.ShowIdle();
}

// The device's stored record converts the reading, while the record in effect
// (perhaps a loaded file's, which its exports use) stays as it was.
int ReadDeviceRecord(AltimeterLink& link, DeviceSettings& record) {
  const DeviceSettings inEffect = link.settings;
  const int result = link.ReadSettings();
  record = link.settings;
  link.settings = inEffect;
  return result;
}

void ReadPressure(AltimeterLink& link, JobView& view) {
  DeviceSettings record;
  if (ReadDeviceRecord(link, record) < 0) return EndWith(view, L"Failed to read settings.");
  uint16_t adc = 0;
  if (link.ReadPressureAdc(adc) < 0) return EndWith(view, L"Failed.");
  DebugLog << "ADC: 0x" << std::hex << adc << std::endl;
  if (!DeviceSettings(record).ParseOrSetDefaults()) {
    view.Say(L"The device settings are invalid: converting with the default calibration offset.");
  }
  for (const std::wstring& line : PressureReadingLines(adc, StoredAdcOffset(record))) view.Say(line);
  view.ShowIdle();
  view.GraphChanged();
}

void ReadBattery(AltimeterLink& link, JobView& view) {
  uint16_t tenthsOfVolt = 0;
  if (link.ReadBatteryVoltage(tenthsOfVolt) < 0) return EndWith(view, L"Failed.");
  view.Say(BatteryVoltageLine(tenthsOfVolt));
  DebugLog << "Notifying connection..." << std::endl;
  view.ShowIdle();
  DebugLog << "Done." << std::endl;
}

void FireLines(AltimeterLink& link, JobView& view) {
  view.Say(L"Firing both lines for 2 seconds...");
  EndWith(view, link.FireLines() < 0 ? L"Failed." : L"Done.");
}

void OnEmulationEvent(void* context, int code, int samplesSent) {
  const std::wstring line = EmulationEventLine(code, samplesSent);
  if (!line.empty()) static_cast<JobView*>(context)->Say(line);
}

void EmulateLaunch(AltimeterLink& link, JobView& view) {
  view.Say(L"Emulating...");
  EndWith(view, link.EmulateLaunch(OnEmulationEvent, &view) ? L"Done." : L"Failed.");
}

}  // namespace

void RunBenchJob(AltimeterLink& link, JobView& view, BenchJob job) {
  view.ShowBusy();
  if (!link.IsConnected()) return EndWith(view, kAltimeterNotFound);
  switch (job) {
    case BenchJob::ReadPressure:
      return ReadPressure(link, view);
    case BenchJob::ReadBattery:
      return ReadBattery(link, view);
    case BenchJob::FireLines:
      return FireLines(link, view);
    case BenchJob::EmulateLaunch:
      return EmulateLaunch(link, view);
  }
}
