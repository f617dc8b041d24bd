#pragma once
// Colours as raw pixel values of a display format, so that a colour fill shows
// the intended RGB on 32-, 24-, 16- and 15-bit displays alike.
#include <cstdint>

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

// The channel masks of a true-colour pixel format (DirectDraw's RGB bit masks).
struct PixelMasks {
  uint32_t red = 0;
  uint32_t green = 0;
  uint32_t blue = 0;
};

// The pixel value of `colour`: each channel scaled to the width of its mask and
// shifted into place. A channel without a mask (a palette format) contributes 0.
uint32_t PackPixel(Rgb colour, const PixelMasks& masks);
