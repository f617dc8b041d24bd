#include "view/PixelColour.h"

#include <gtest/gtest.h>

namespace {

TEST(PackPixel, GivesTheSameColourInEveryTrueColourFormat) {
  const PixelMasks xrgb8888{0xFF0000, 0x00FF00, 0x0000FF};
  const PixelMasks xbgr8888{0x0000FF, 0x00FF00, 0xFF0000};
  const PixelMasks rgb565{0xF800, 0x07E0, 0x001F};
  const PixelMasks rgb555{0x7C00, 0x03E0, 0x001F};
  const struct {
    const char* name;
    Rgb colour;
    PixelMasks masks;
    uint32_t expected;
  } cases[] = {
      {"data set background, 32-bit", {180, 180, 255}, xrgb8888, 0xB4B4FF},
      {"live background, 32-bit", {128, 128, 128}, xrgb8888, 0x808080},
      {"blue first", {180, 180, 255}, xbgr8888, 0xFFB4B4},
      {"16-bit 5-6-5", {180, 180, 255}, rgb565, (22u << 11) | (44u << 5) | 31u},
      {"15-bit 5-5-5", {180, 180, 255}, rgb555, (22u << 10) | (22u << 5) | 31u},
      {"white fills every mask", {255, 255, 255}, rgb565, 0xFFFF},
      {"black", {0, 0, 0}, xrgb8888, 0},
      {"palette format has no masks", {180, 180, 255}, {}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.expected, PackPixel(c.colour, c.masks));
  }
}

}  // namespace
