#pragma once
// What Device Settings takes from its boxes, apart from the windows: the
// numbers typed, whether they fit the device's record, the record they make,
// and the calibration offset. A value that does not fit is refused: the
// record's 16-bit fields would otherwise keep it modulo 65536.
#include <cstdint>
#include <optional>
#include <string_view>

#include "data/DeviceSettings.h"

// The largest values the record holds: times are kept in tenths of a second.
constexpr uint64_t kMaxSeconds = 6553;
constexpr uint64_t kMaxMetres = 65535;
// Above the top of the model atmosphere no pressure remains to calibrate against.
constexpr uint64_t kMaxGroundAltitude = 44330;
// Inhibit times above this many tenths of a second are worth a second look.
constexpr uint16_t kLargeInhibitTime = 200;

// The number in a digits-only box, blanks around it allowed. Nothing, a sign
// or any other character gives nullopt; a number beyond 64 bits gives
// UINT64_MAX, so it fits nowhere.
std::optional<uint64_t> BoxNumber(std::wstring_view text);
// A settings box as a write takes it: an empty box reads as 0; anything but a
// whole number (a pasted "2.5", "-3", "12a") is nullopt, never a guess.
std::optional<uint64_t> SettingsBoxValue(std::wstring_view text);

// One line as the dialog shows it: the checked mode radio (none when no radio
// is checked) and the values of its time and altitude boxes.
struct LineEntry {
  std::optional<LineMode> mode;
  std::optional<uint64_t> seconds = 0;
  std::optional<uint64_t> metres = 0;
};

struct SettingsEntry {
  LineEntry lineA;
  LineEntry lineB;
  std::optional<uint64_t> inhibitSeconds = 0;
};

// The boxes a write reads.
enum class SettingsBox { LineATime, LineAAltitude, LineBTime, LineBAltitude, Inhibit };

// The first box the lines' modes take, then the inhibit box, that holds no
// whole number; nullopt when each holds one. Boxes a mode does not take keep
// whatever they show.
std::optional<SettingsBox> BoxWithoutNumber(const SettingsEntry& entry);

// Whether every box the entry's modes take holds a value that fits its field.
bool FitsRecord(const SettingsEntry& entry);

// Takes an entry that fits into the fields, not the image. A line without a
// mode keeps its mode and value; Disabled and Apogee keep the value. An entry
// that does not fit changes nothing and gives false.
bool ApplyEntry(const SettingsEntry& entry, DeviceSettings& settings);

// What the user is warned of before a write.
bool InhibitIsLarge(const DeviceSettings& settings);
bool AnyLineDisabled(const DeviceSettings& settings);

// The ground altitude of a calibration in metres above sea level; nullopt for a
// box without a number or one above kMaxGroundAltitude.
std::optional<uint32_t> GroundAltitude(std::wstring_view text);

// The offset a calibration stores, expected minus measured counts; nullopt when
// it does not fit the image's signed byte.
std::optional<int8_t> CalibrationOffset(int32_t expected, uint16_t measured);
