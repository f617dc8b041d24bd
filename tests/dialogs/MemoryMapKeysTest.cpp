#include "dialogs/MemoryMapKeys.h"

#include <gtest/gtest.h>

namespace {

TEST(MemoryMapKeys, EachKeySelectsItsSetAndStopsAtTheEnds) {
  constexpr MapKey kLeft = MapKey::kPrevious, kRight = MapKey::kNext, kHome = MapKey::kFirst, kEnd = MapKey::kLast;
  const struct {
    MapKey key;
    int32_t selected;
    int32_t sets;
    int32_t chosen;  // -9: none
  } cases[] = {
      {kRight, 0, 3, 1}, {kRight, 1, 3, 2}, {kRight, 2, 3, 2},  // stops at the last
      {kLeft, 2, 3, 1},  {kLeft, 1, 3, 0},  {kLeft, 0, 3, 0},   // stops at the first
      {kHome, 2, 3, 0},  {kEnd, 0, 3, 2},   {kEnd, 0, 1, 0},
      // No set selected: Right starts at the first, Left stays there.
      {kRight, -1, 3, 0}, {kLeft, -1, 3, 0},
      // A selection left from a larger download: Left starts at the last set.
      {kLeft, 5, 3, 2},  {kRight, 5, 3, 2}, {kHome, 5, 3, 0},
      // No sets at all: nothing to choose.
      {kRight, 0, 0, -9}, {kLeft, -1, 0, -9}, {kHome, 0, 0, -9}, {kEnd, 2, 0, -9},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.chosen, SetForKey(c.key, c.selected, c.sets).value_or(-9))
        << "key " << static_cast<int>(c.key) << " from " << c.selected << " of " << c.sets;
  }
}

}  // namespace
