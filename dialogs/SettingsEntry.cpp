#include "dialogs/SettingsEntry.h"

#include <limits>

namespace {

constexpr uint64_t kTenthsPerSecond = 10;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

std::wstring_view Trimmed(std::wstring_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool AtMost(const std::optional<uint64_t>& value, uint64_t largest) { return value && *value <= largest; }

bool LineFits(const LineEntry& line) {
  if (line.mode == LineMode::Time) return AtMost(line.seconds, kMaxSeconds);
  if (line.mode == LineMode::Altitude) return AtMost(line.metres, kMaxMetres);
  return true;
}

// The box of the line that its mode takes and that holds no whole number.
std::optional<SettingsBox> LineBoxWithoutNumber(const LineEntry& line, SettingsBox timeBox, SettingsBox altitudeBox) {
  if (line.mode == LineMode::Time && !line.seconds) return timeBox;
  if (line.mode == LineMode::Altitude && !line.metres) return altitudeBox;
  return std::nullopt;
}

void ApplyLine(const LineEntry& line, LineMode& mode, uint16_t& value) {
  if (!line.mode) return;
  mode = *line.mode;
  if (mode == LineMode::Time) value = static_cast<uint16_t>(*line.seconds * kTenthsPerSecond);
  if (mode == LineMode::Altitude) value = static_cast<uint16_t>(*line.metres);
}

}  // namespace

std::optional<uint64_t> BoxNumber(std::wstring_view text) {
  text = Trimmed(text);
  if (text.empty()) return std::nullopt;
  constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
  uint64_t number = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    const uint64_t digit = static_cast<uint64_t>(c - L'0');
    number = number > (kMax - digit) / 10 ? kMax : number * 10 + digit;
  }
  return number;
}

std::optional<uint64_t> SettingsBoxValue(std::wstring_view text) {
  if (Trimmed(text).empty()) return 0;
  return BoxNumber(text);
}

std::optional<SettingsBox> BoxWithoutNumber(const SettingsEntry& entry) {
  if (auto box = LineBoxWithoutNumber(entry.lineA, SettingsBox::LineATime, SettingsBox::LineAAltitude)) return box;
  if (auto box = LineBoxWithoutNumber(entry.lineB, SettingsBox::LineBTime, SettingsBox::LineBAltitude)) return box;
  if (!entry.inhibitSeconds) return SettingsBox::Inhibit;
  return std::nullopt;
}

bool FitsRecord(const SettingsEntry& entry) {
  return LineFits(entry.lineA) && LineFits(entry.lineB) && AtMost(entry.inhibitSeconds, kMaxSeconds);
}

bool ApplyEntry(const SettingsEntry& entry, DeviceSettings& settings) {
  if (!FitsRecord(entry)) return false;
  ApplyLine(entry.lineA, settings.lineAMode, settings.lineAValue);
  ApplyLine(entry.lineB, settings.lineBMode, settings.lineBValue);
  settings.inhibitTime = static_cast<uint16_t>(*entry.inhibitSeconds * kTenthsPerSecond);
  return true;
}

bool InhibitIsLarge(const DeviceSettings& settings) { return settings.inhibitTime > kLargeInhibitTime; }

bool AnyLineDisabled(const DeviceSettings& settings) {
  return settings.lineAMode == LineMode::Disabled || settings.lineBMode == LineMode::Disabled;
}

std::optional<uint32_t> GroundAltitude(std::wstring_view text) {
  const std::optional<uint64_t> metres = BoxNumber(text);
  if (!metres || *metres > kMaxGroundAltitude) return std::nullopt;
  return static_cast<uint32_t>(*metres);
}

std::optional<int8_t> CalibrationOffset(int32_t expected, uint16_t measured) {
  const int64_t offset = static_cast<int64_t>(expected) - measured;
  if (offset < std::numeric_limits<int8_t>::min() || offset > std::numeric_limits<int8_t>::max()) return std::nullopt;
  return static_cast<int8_t>(offset);
}
