#pragma once
#include <cstdint>

// The pixels of columns left to right - 1 and rows top to bottom - 1.
struct PixelBox {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
};

// Whether two boxes share a pixel; an empty box shares none.
inline bool SharePixels(const PixelBox& a, const PixelBox& b) {
  return !a.Empty() && !b.Empty() && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
