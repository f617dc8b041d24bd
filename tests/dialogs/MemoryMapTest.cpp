#include "dialogs/MemoryMap.h"

#include <gtest/gtest.h>

#include <new>

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

TEST(MemoryMap, MorePacketsThanColumnsFillEveryColumnAndNothingPastThem) {
  // The strip is built in place in a buffer with a guard after it, so a column
  // written past the last shows in every build, not only under the sanitizer.
  // The guard goes through volatile: an optimiser takes the call to write its
  // result only and would drop the check.
  constexpr unsigned char kUntouched = 0xA5;  // in none of the map's colours
  constexpr size_t kGuardSize = 8 * sizeof(Rgb);
  alignas(MemoryMapColours) unsigned char buffer[sizeof(MemoryMapColours) + kGuardSize];
  volatile unsigned char* const guard = buffer + sizeof(MemoryMapColours);
  for (size_t i = 0; i < kGuardSize; ++i) guard[i] = kUntouched;
  const auto* colours =
      new (buffer) MemoryMapColours(ColourMemoryMap(PacketsOfKinds(std::string(kMemoryMapColumns + 8, 'S')), -2));
  EXPECT_TRUE(Same((*colours)[127], kMapOddSet));
  size_t written = 0;
  for (size_t i = 0; i < kGuardSize; ++i) written += guard[i] != kUntouched ? 1 : 0;
  EXPECT_EQ(0u, written) << "bytes written past the strip";
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
