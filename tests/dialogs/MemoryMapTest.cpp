#include "dialogs/MemoryMap.h"

#include <gtest/gtest.h>

#include "data/PacketFixtures.h"

namespace {

bool Same(Rgb a, Rgb b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; }

// The colours as letters: E even set, O odd set, R selected, . empty.
std::string Letters(const MemoryMapColours& colours, size_t count) {
  std::string letters;
  for (size_t j = 0; j < count; ++j) {
    const Rgb c = colours[j];
    letters += Same(c, kMapEvenSet) ? 'E' : Same(c, kMapOddSet) ? 'O' : Same(c, kMapSelected) ? 'R' : '.';
  }
  return letters;
}

TEST(MemoryMap, ColoursEachPacketBySetAndTheSelectedSetRed) {
  const struct {
    const char* kinds;
    int32_t selected;
    const char* colours;
  } cases[] = {
      {"SccScS", -2, "EEEOOE."},
      {"SccScS", 1, "EEERRE."},
      {"SccScS", 2, "EEEOOR."},
      {"ccSc", 0, "OORR..."},
      {"ccSc", -1, "RREE..."},  // packets before the first set count as set -1
      {"", 0, "......."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.colours, Letters(ColourMemoryMap(PacketsOfKinds(c.kinds), c.selected), 7))
        << c.kinds << " selecting " << c.selected;
  }
}

TEST(MemoryMap, AFullMemoryFillsEveryColumn) {
  const MemoryMapColours colours = ColourMemoryMap(PacketsOfKinds(std::string(130, 'S')), -2);
  EXPECT_TRUE(Same(colours[127], kMapOddSet));
}

TEST(MemoryMap, AClickFindsTheNearestColumn) {
  const struct {
    int x;
    int clientWidth;
    int32_t column;
  } cases[] = {
      {0, 254, 0}, {1, 254, 1}, {3, 254, 2}, {252, 254, 126}, {253, 254, 127},
      {0, 126, 0}, {5, 126, 5}, {125, 126, 125},
      {600, 566, 135},  // past the last column: no packet there
  };
  for (const auto& c : cases) EXPECT_EQ(c.column, MemoryMapColumnAt(c.x, c.clientWidth)) << c.x << " of " << c.clientWidth;
}

}  // namespace
