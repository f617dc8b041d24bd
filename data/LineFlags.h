#pragma once
// The two-bit line flag value of a sample (DataSet::lineFlags): which
// ejection lines were firing when it was taken.
#include <cstdint>

constexpr uint8_t kLineAFlag = 2;
constexpr uint8_t kLineBFlag = 1;

constexpr bool HasLineA(uint8_t flags) { return (flags & kLineAFlag) != 0; }
constexpr bool HasLineB(uint8_t flags) { return (flags & kLineBFlag) != 0; }
