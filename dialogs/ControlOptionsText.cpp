#include "dialogs/ControlOptionsText.h"

#include <sstream>

#include "base/NumberText.h"
#include "data/SensorConverter.h"
#include "device/DeviceCode.h"

namespace {

constexpr double kSamplesPerSecond = 10.0;
constexpr double kTenthsPerVolt = 10.0;

// `label`, the number and `unit` in the program's number text.
std::wstring NumberLine(const wchar_t* label, double value, const wchar_t* unit) {
  std::wostringstream line;
  line.imbue(NumberTextLocale());
  line << label << value << unit;
  return line.str();
}

}  // namespace

int32_t StoredAdcOffset(DeviceSettings record) {
  record.ParseOrSetDefaults();
  return record.adcOffset;
}

std::vector<std::wstring> PressureReadingLines(uint16_t adc, int32_t adcOffset) {
  SensorConverter converter;
  converter.SetOffset(adcOffset);
  return {L"\r\nCurrent ADC: " + std::to_wstring(adc),
          NumberLine(L"Current Voltage: ", converter.Voltage(adc), L" Volts"),
          NumberLine(L"Current Pressure: ", converter.Pressure(adc), L" kPa"),
          NumberLine(L"Current MSL Altitude: ", converter.Altitude(adc), L" Meters")};
}

std::wstring BatteryVoltageLine(uint16_t tenthsOfVolt) {
  return NumberLine(L"Current Voltage: ", tenthsOfVolt / kTenthsPerVolt, L" Volts");
}

std::wstring EmulationEventLine(int code, int samplesSent) {
  switch (code) {
    case CodeByte(DeviceCode::AdcRequest):
      return NumberLine(L"Launch Time (s): ", samplesSent / kSamplesPerSecond, L"");
    case CodeByte(DeviceCode::LaunchDetected):
      return L"Launch detected.";
    case CodeByte(DeviceCode::LineAFired):
      return L"Line A fired.";
    case CodeByte(DeviceCode::LineBFired):
      return L"Line B fired.";
    case CodeByte(DeviceCode::Apogee):
      return L"Apogee detected.";
    case CodeByte(DeviceCode::EndOfLaunch):
      return L"Device indicates end of launch.";
    default:
      return {};
  }
}
