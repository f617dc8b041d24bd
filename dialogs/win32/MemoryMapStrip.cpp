#include "dialogs/win32/MemoryMapStrip.h"

namespace {

constexpr int kMapRows = 2;
constexpr int kFocusInset = 1;  // just inside the strip's edge, over as little of a column as can be

Gdiplus::Color Opaque(Rgb colour) { return Gdiplus::Color(255, colour.red, colour.green, colour.blue); }

}  // namespace

MemoryMapStrip::MemoryMapStrip() : memoryMap_(kMemoryMapColumns, kMapRows, PixelFormat32bppARGB) {
  colours_.fill(kMapEmpty);
}

void MemoryMapStrip::SetColours(const MemoryMapColours& colours) {
  const std::lock_guard<std::mutex> lock(mutex_);
  colours_ = colours;
}

void MemoryMapStrip::Paint(HWND strip, HDC dc) {
  MemoryMapColours colours;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    colours = colours_;
  }
  for (int column = 0; column < kMemoryMapColumns; ++column) {
    for (int row = 0; row < kMapRows; ++row) memoryMap_.SetPixel(column, row, Opaque(colours[column]));
  }
  RECT client{};
  GetClientRect(strip, &client);
  {
    Gdiplus::Graphics graphics(dc);
    graphics.Clear(Opaque(kMapEmpty));
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
    graphics.DrawImage(&memoryMap_, 0, 0, client.right + 2, client.bottom * 2);
  }
  if (GetFocus() == strip) {
    InflateRect(&client, -kFocusInset, -kFocusInset);
    DrawFocusRect(dc, &client);
  }
}
