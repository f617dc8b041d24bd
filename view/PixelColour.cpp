#include "view/PixelColour.h"

namespace {

uint32_t PackChannel(uint8_t value, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1u) == 0) ++shift;
  const uint32_t maximum = mask >> shift;
  const uint32_t scaled = (value * maximum + 127u) / 255u;
  return (scaled << shift) & mask;
}

}  // namespace

uint32_t PackPixel(Rgb colour, const PixelMasks& masks) {
  return PackChannel(colour.red, masks.red) | PackChannel(colour.green, masks.green) |
         PackChannel(colour.blue, masks.blue);
}
