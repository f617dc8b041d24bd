#pragma once
// A 32-bit picture behind a memory device context, white at first, for drawing
// off screen and reading the pixels back.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "view/PixelColour.h"

class MemoryPicture {
 public:
  MemoryPicture(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    previous_ = SelectObject(dc_, bitmap_);
    PatBlt(dc_, 0, 0, width, height, WHITENESS);
  }
  ~MemoryPicture() {
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  MemoryPicture(const MemoryPicture&) = delete;
  MemoryPicture& operator=(const MemoryPicture&) = delete;

  bool Ready() const { return bits_ != nullptr; }
  HDC Dc() const { return dc_; }
  SIZE Size() const { return {width_, height_}; }
  void Fill(Rgb colour) {
    const HBRUSH brush = CreateSolidBrush(RGB(colour.red, colour.green, colour.blue));
    const RECT all{0, 0, width_, height_};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  // 0xRRGGBB: the fourth byte of a pixel is nobody's.
  uint32_t Pixel(int x, int y) const {
    GdiFlush();
    return bits_[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)] & 0xFFFFFF;
  }
  // Every pixel as Pixel gives it, top row first.
  std::vector<uint32_t> Pixels() const {
    GdiFlush();
    std::vector<uint32_t> pixels(bits_, bits_ + static_cast<size_t>(width_) * height_);
    for (uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
  }

 private:
  int width_;
  int height_;
  HDC dc_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  uint32_t* bits_ = nullptr;
};
