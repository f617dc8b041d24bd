// Times the graph as the program draws it, under Wine or Windows, in a
// maximised window: the data set view of a full memory drawn and presented,
// a live-trace frame of a full memory, and a simulated download feeding the
// live trace through redraw requests. Prints medians in milliseconds.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/Graph.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFrames = 40;
constexpr uint16_t kFullMemorySamples = 3968;
constexpr auto kNotificationInterval = std::chrono::milliseconds(1);

std::atomic<int> liveDrawings{0};

LRESULT CALLBACK BenchWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_REDRAWGRAPH) {
    ServeRedrawRequest();
    ++liveDrawings;
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateBenchWindow(HINSTANCE instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = BenchWndProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = L"ZelGraphBench";
  RegisterClassW(&windowClass);
  const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Graph benchmark", WS_OVERLAPPEDWINDOW,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      instance, nullptr);
  ShowWindow(window, SW_SHOWMAXIMIZED);
  UpdateWindow(window);
  return window;
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// A full memory: one long flight of 128 packets.
std::vector<uint16_t> FullMemoryFlight(AltimeterLink& link) {
  FlightParameters flight;
  flight.thrustN = 60.0;
  flight.burnTimeS = 2.5;
  flight.descentRateMs = 2.0;
  flight.rules.maxReadings = kFullMemorySamples;
  const RecordedFlight recorded = RecordFlight(flight);
  const auto data = link.LockData();
  link.packets = recorded.packets;
  return recorded.words;
}

double MedianMs(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

double TimeFrames(const std::function<void()>& frame) {
  std::vector<double> times;
  for (int i = 0; i < kFrames; ++i) {
    const auto start = Clock::now();
    frame();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    PumpMessages();
  }
  return MedianMs(times);
}

// A download's worker adds every sample and asks for a redraw, as the
// Download Data dialog does; the main thread serves the requests meanwhile.
void SimulateDownload(AltimeterLink& link, const std::vector<uint16_t>& words) {
  link.fastSet.Reset();
  liveDrawings = 0;
  std::atomic<bool> done{false};
  double slowestRequestMs = 0.0;
  const auto start = Clock::now();
  std::thread worker([&] {
    for (const uint16_t word : words) {
      link.fastSet.AddSample(word, 0);
      const auto asked = Clock::now();
      RequestLiveTrace();
      slowestRequestMs =
          std::max(slowestRequestMs, std::chrono::duration<double, std::milli>(Clock::now() - asked).count());
      std::this_thread::sleep_for(kNotificationInterval);
    }
    done = true;
  });
  while (!done) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
  worker.join();
  PumpMessages();
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("download feed: %zu samples in %.2f s, %d live drawings, slowest request %.3f ms\n", words.size(),
              seconds, liveDrawings.load(), slowestRequestMs);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  DebugLog.rdbuf(nullptr);  // "Updating buffer." per frame is not what is timed
  NoDeviceBackend backend;
  AltimeterLink link(backend);
  const std::vector<uint16_t> words = FullMemoryFlight(link);
  link.SelectDataSet(0);
  for (const uint16_t word : words) link.fastSet.AddSample(word, 0);

  const GdiplusSession gdiplus;
  BindGraph(link);
  const HWND window = CreateBenchWindow(instance);
  PumpMessages();
  RECT client{};
  GetClientRect(window, &client);
  SetGraphSize(client.right, client.bottom);
  ResetDrawing(window, false);

  std::printf("client area %ld x %ld, %zu samples\n", client.right, client.bottom, words.size());
  std::printf("data set view, drawn and presented: median %.2f ms (target 30)\n", TimeFrames([] {
                DrawDataSetView();
                PresentGraph();
              }));
  std::printf("live trace frame, drawn and presented: median %.2f ms (target 20)\n", TimeFrames([] {
                DrawLiveTrace();
                PresentGraph();
              }));
  std::printf("present alone: median %.2f ms\n", TimeFrames(PresentGraph));
  std::fflush(stdout);
  SimulateDownload(link, words);
  ReleaseDrawing();
  DestroyWindow(window);
  return 0;
}
