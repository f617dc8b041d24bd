#pragma once
// What the simulator window says of the simulated bootloader's flash: how
// many blocks were written, and whether the flash holds a plain image file
// (the one a firmware file was packed from).
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// "Flash: n blocks written", then, when `image` is not empty, "; matches
// NAME", "; differs from NAME at block k" or "; NAME cannot be read". The
// image is compared as the flash holds it: padded with erased bytes to 64 KiB.
std::wstring DescribeFlash(int blocksWritten, const std::vector<uint8_t>& flash, const std::filesystem::path& image);
