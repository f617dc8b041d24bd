#pragma once
// The bootloader's reports, 65 bytes each way: byte 0 the report ID 0, then
// the payload; unused bytes are 0.
//   hardware query   host -> device  byte 1 = 0x01
//   hardware answer  device -> host  bytes 1-2: hardware version
//   block command    host -> device  byte 1 = 0x02
//   block address    host -> device  bytes 1-2: the block's address (index x 64)
//   block data       host -> device  bytes 1-64: the block's 64 bytes
//   block answer     device -> host  byte 1 = 0x01 when the block was accepted
// Multi-byte values are little-endian.
#include <array>
#include <cstdint>

#include "device/AltimeterLink.h"

constexpr uint8_t kHardwareQueryCode = 0x01;
constexpr uint8_t kBlockCommandCode = 0x02;
constexpr uint8_t kBlockAcceptedCode = 0x01;
constexpr uint8_t kBlockRejectedCode = 0x00;

using BootloaderReport = std::array<uint8_t, kBootloaderReportLength>;

// A report with only byte 1 set: the hardware query or the block command.
BootloaderReport CodeReport(uint8_t code);
// Each moves one report within 3000 ms, or logs "Failed to write." /
// "Failed to read." and returns false. An answer is zeroed before the read.
bool SendBootloaderReport(HidDevice& device, const BootloaderReport& report);
bool ReceiveBootloaderReport(HidDevice& device, BootloaderReport& answer);
// Sends the hardware query and reads its answer; false when either did not move.
bool QueryHardwareVersion(HidDevice& device, uint16_t& version);
