#pragma once
// What the simulator window says of the simulated altimeter's stored settings
// and of its ejection lines.
#include <array>
#include <cstdint>
#include <string>

#include "data/DeviceSettings.h"

// Two lines: the image as hexadecimal bytes, then its fields as stored
// (times in tenths of a second, altitudes in metres) and whether its checksum
// holds, e.g. "Line A: Apogee 150; Line B: Altitude 150; inhibit 20; offset 0; checksum ok".
std::wstring DescribeSettingsImage(const std::array<uint8_t, DeviceSettings::kImageSize>& image);

// "Line A fired: a; Line B fired: b".
std::wstring DescribeFirings(int lineA, int lineB);
