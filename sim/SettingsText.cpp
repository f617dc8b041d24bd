#include "sim/SettingsText.h"

#include <cwchar>

namespace {

const wchar_t* ModeName(LineMode mode) {
  switch (mode) {
    case LineMode::Disabled:
      return L"Disabled";
    case LineMode::Time:
      return L"Time";
    case LineMode::Apogee:
      return L"Apogee";
    case LineMode::Altitude:
      return L"Altitude";
  }
  return L"Unknown";
}

std::wstring HexBytes(const std::array<uint8_t, DeviceSettings::kImageSize>& image) {
  std::wstring text;
  for (const uint8_t byte : image) {
    wchar_t pair[4];
    std::swprintf(pair, 4, L"%02X", static_cast<unsigned>(byte));
    text += (text.empty() ? L"" : L" ") + std::wstring(pair);
  }
  return text;
}

}  // namespace

std::wstring DescribeSettingsImage(const std::array<uint8_t, DeviceSettings::kImageSize>& image) {
  const DeviceSettings fields = DeviceSettings::Unpacked(image);
  return L"Image: " + HexBytes(image) + L"\r\nLine A: " + ModeName(fields.lineAMode) + L" " +
         std::to_wstring(fields.lineAValue) + L"; Line B: " + ModeName(fields.lineBMode) + L" " +
         std::to_wstring(fields.lineBValue) + L"; inhibit " + std::to_wstring(fields.inhibitTime) + L"; offset " +
         std::to_wstring(fields.adcOffset) + L"; checksum " +
         (fields.StoredChecksum() == fields.Checksum() ? L"ok" : L"bad");
}

std::wstring DescribeFirings(int lineA, int lineB) {
  return L"Line A fired: " + std::to_wstring(lineA) + L"; Line B fired: " + std::to_wstring(lineB);
}
