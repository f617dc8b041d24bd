#pragma once
// Version numbers: 16 bits, major in the high byte and minor in the low byte,
// both read as hexadecimal digits (0x0141 is 1.41). Compatibility is decided on
// the family, the version with its last digit masked off.
#include <cstdint>
#include <string>

constexpr uint16_t kSoftwareVersion = 0x0141;
constexpr uint16_t kFirmwareFamily = 0x0140;
constexpr uint16_t kBootloaderFamily = 0x0100;
constexpr uint16_t kHardwareFamily = 0x0120;
constexpr uint16_t kVersionFamilyMask = 0xFFF0;

constexpr uint16_t VersionFamily(uint16_t version) { return version & kVersionFamilyMask; }

// Full form: 0x0141 -> L"1.41", 0x01A3 -> L"1.a3".
std::wstring FormatVersion(uint16_t version);
// Family form: the full form with its last character replaced by x (0x0140 -> L"1.4x").
std::wstring FormatVersionFamily(uint16_t version);
