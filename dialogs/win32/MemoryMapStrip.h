#pragma once
// The picture behind the Download Data dialog's memory strip: 128 x 2 pixels,
// one column per packet. A download recolours it on its worker while the main
// thread paints it: the worker only stores the colours under the strip's lock,
// so a download never waits for a painting.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <mutex>

#include "dialogs/MemoryMap.h"

class MemoryMapStrip {
 public:
  MemoryMapStrip();

  // Any thread.
  void SetColours(const MemoryMapColours& colours);
  // Main thread: the whole client area of `strip`, on black, the picture
  // stretched nearest-neighbour to 2 pixels wider and twice as high; and the
  // focus rectangle while the strip holds the focus.
  void Paint(HWND strip, HDC dc);

 private:
  std::mutex mutex_;
  MemoryMapColours colours_;
  Gdiplus::Bitmap memoryMap_;  // the main thread's alone
};
