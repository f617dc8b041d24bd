#pragma once
// What Update Firmware says of an update: its progress in tens of per cent,
// and the lines for each result of AltimeterLink::UpdateFirmware.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The percentage block `blockIndex` of 0 to `lastBlockIndex` stands for; 100
// when the last block index is 0.
int UpdatePercent(int blockIndex, int lastBlockIndex);

// The decile (0, 10, ... 100) to show for `percent`, or nothing when it is the
// one shown last; `lastShown` follows. It lives for the program's run, so the
// first update shows no 0% and a later one shows 0% first.
std::optional<int> NextProgressDecile(int percent, int& lastShown);

// The versions an update reported, each 0 until it was known.
struct UpdateVersions {
  uint16_t fileFormat = 0;
  uint16_t hardware = 0;
  uint16_t bootloader = 0;
  uint16_t firmware = 0;
};

// The status lines for `result`: the new version and the success line for 0,
// the explanation of a failure otherwise (none for -7); the closing
// "Failed to update firmware." is not among them.
std::vector<std::wstring> UpdateResultLines(int result, const UpdateVersions& versions);
