#pragma once
// The memory-map strip of the Download Data dialog: one column per packet of
// device memory, coloured by the set it belongs to, and clicks on it.
#include <array>
#include <cstdint>
#include <vector>

#include "data/DataPacket.h"
#include "view/PixelColour.h"

constexpr int kMemoryMapColumns = 128;

constexpr Rgb kMapEmpty{0, 0, 0};           // past the last packet
constexpr Rgb kMapSelected{255, 0, 0};      // the selected set
constexpr Rgb kMapEvenSet{64, 32, 255};     // sets 0, 2, 4, ...
constexpr Rgb kMapOddSet{64, 96, 223};      // sets 1, 3, ...; and packets before the first set

using MemoryMapColours = std::array<Rgb, kMemoryMapColumns>;

// The colour of each column. Neighbouring sets alternate between two blues;
// the packets of `selectedSet` are red. Packets before the first start packet
// count as set -1, so they are red too while no set is selected.
MemoryMapColours ColourMemoryMap(const std::vector<DataPacket>& packets, int32_t selectedSet);

// The packet column under x (client pixels) of a strip `clientWidth` wide: the
// strip is drawn 2 pixels wider than its client area, so each column takes
// (clientWidth + 2) / 128 pixels, and the column is rounded to the nearest.
int32_t MemoryMapColumnAt(int x, int clientWidth);
