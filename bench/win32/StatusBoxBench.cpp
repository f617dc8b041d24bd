// Times the refresh of a dialog's status box under Wine or Windows as a
// download makes it: after one new line and after a burst of 128, with the
// text small and with the box full (131071 characters, so each refresh also
// drops the oldest lines). Prints medians in milliseconds.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "dialogs/StatusText.h"
#include "dialogs/win32/StatusBox.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRefreshes = 20;
constexpr int kBurst = 128;  // a download's packet lines

void AppendPacketLines(StatusText& text, int lines) {
  for (int n = 0; n < lines; ++n) text.Append(L"Packet Read: " + std::to_wstring(n % 128) + L"\r\n");
}

void FillWithPacketLines(StatusText& text, size_t characters) {
  while (text.Length() < characters) AppendPacketLines(text, 1);
}

// Each refresh follows `lines` new lines, as the dialog's would.
double MedianRefreshMs(StatusBox& box, HWND boxWindow, StatusText& text, int lines) {
  std::vector<double> times;
  for (int i = 0; i < kRefreshes; ++i) {
    AppendPacketLines(text, lines);
    const Clock::time_point start = Clock::now();
    box.Show(text);
    UpdateWindow(boxWindow);
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

double MedianAppendToFullUs(StatusText& text) {
  std::vector<double> times;
  for (int i = 0; i < kRefreshes; ++i) {
    const Clock::time_point start = Clock::now();
    text.Append(L"Packet Read: 127\r\n");
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // The status box of Download Data at its opening size, in the dialogs' font.
  const HWND window = CreateWindowExW(0, L"Static", L"status box bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                      640, 480, nullptr, nullptr, instance, nullptr);
  const HWND boxWindow =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", L"",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 10, 10, 492,
                      134, window, nullptr, instance, nullptr);
  const HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Microsoft Sans Serif");
  SendMessageW(boxWindow, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  StatusBox box(boxWindow);

  StatusText text;
  FillWithPacketLines(text, 4000);  // about a download's worth of lines
  box.Show(text);
  const double small = MedianRefreshMs(box, boxWindow, text, 1);
  const size_t smallLength = text.Length();
  FillWithPacketLines(text, StatusText::kCapacity - 32);
  box.Show(text);
  const double full = MedianRefreshMs(box, boxWindow, text, 1);
  const double fullBurst = MedianRefreshMs(box, boxWindow, text, kBurst);
  const double append = MedianAppendToFullUs(text);

  std::printf("status box refresh, %zu characters: median %.2f ms\n", smallLength, small);
  std::printf("status box refresh, full (%zu characters): median %.2f ms (goal 20)\n", text.Length(), full);
  std::printf("status box refresh, full, after %d new lines: median %.2f ms (goal 20)\n", kBurst, fullBurst);
  std::printf("append to a full status text (oldest line dropped): median %.1f us\n", append);
  DestroyWindow(window);
  DeleteObject(font);
  return 0;
}
