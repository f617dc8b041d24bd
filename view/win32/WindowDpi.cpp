#include "view/win32/WindowDpi.h"

#include "view/GraphScale.h"

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

// Looked up, not linked: the program also runs on Windows 7.
GetDpiForWindowFunction GetDpiForWindowOfSystem() {
  static const auto function = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

}  // namespace

int32_t SystemDpi() {
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : GraphScale::kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi;
}

int32_t WindowDpi(HWND window) {
  const GetDpiForWindowFunction getDpi = GetDpiForWindowOfSystem();
  const UINT dpi = getDpi && window ? getDpi(window) : 0;
  return dpi != 0 ? static_cast<int32_t>(dpi) : SystemDpi();
}

int32_t PixelsAtDpi(int32_t basePixels, int32_t dpi) { return GraphScale(dpi).Pixels(basePixels); }
