#include "dialogs/MemoryMap.h"

#include <cstddef>

MemoryMapColours ColourMemoryMap(const std::vector<DataPacket>& packets, int32_t selectedSet) {
  MemoryMapColours colours;
  colours.fill(kMapEmpty);
  int32_t setsStarted = 0;
  bool evenSet = false;  // flips at every start packet: set 0 is even
  for (size_t j = 0; j < packets.size() && j < colours.size(); ++j) {
    if (packets[j].IsStart()) {
      evenSet = !evenSet;
      ++setsStarted;
    }
    colours[j] = setsStarted - 1 == selectedSet ? kMapSelected : evenSet ? kMapEvenSet : kMapOddSet;
  }
  return colours;
}

int32_t MemoryMapColumnAt(int x, int clientWidth) {
  const double columnWidth = (clientWidth + 2) / static_cast<double>(kMemoryMapColumns);
  return static_cast<int32_t>(x / columnWidth + 0.5);
}
