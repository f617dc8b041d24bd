#pragma once
// A PNG read back with cairo, as 0xRRGGBB pixels, for tests that look where a
// picture put its colours.
#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "view/cairo/CairoHandles.h"

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool Holds(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  size_t Count(uint32_t colour, int left = 0, int top = 0, int right = -1, int bottom = -1) const {
    size_t count = 0;
    for (int y = top; y < (bottom < 0 ? height : bottom); ++y) {
      for (int x = left; x < (right < 0 ? width : right); ++x) count += At(x, y) == colour ? 1 : 0;
    }
    return count;
  }

  // Whether a pixel of that colour lies within `reach` pixels of (x, y) across and down.
  bool Near(int x, int y, uint32_t colour, int reach) const {
    for (int dy = -reach; dy <= reach; ++dy) {
      for (int dx = -reach; dx <= reach; ++dx) {
        if (Holds(x + dx, y + dy) && At(x + dx, y + dy) == colour) return true;
      }
    }
    return false;
  }
};

// An empty picture when the file is no PNG cairo can read.
inline Picture ReadPng(const std::filesystem::path& path) {
  const CairoSurface surface(cairo_image_surface_create_from_png(path.string().c_str()));
  Picture picture;
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return picture;
  picture.width = cairo_image_surface_get_width(surface.get());
  picture.height = cairo_image_surface_get_height(surface.get());
  const int stride = cairo_image_surface_get_stride(surface.get());
  const unsigned char* data = cairo_image_surface_get_data(surface.get());
  for (int y = 0; y < picture.height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride);
    for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(row[x] & 0xFFFFFF);
  }
  return picture;
}
