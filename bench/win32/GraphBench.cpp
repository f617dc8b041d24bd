// Times the graph as the program draws it, under Wine or Windows, in a
// maximised window: the data set view of a full memory drawn and presented,
// the live-trace frames of a full memory as its download feeds them, and a
// simulated download feeding the live trace through redraw requests. Prints
// medians in milliseconds.
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
constexpr size_t kWordsPerLiveFrame = 5;

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

// A value span one metre longer or shorter than the frame before: every frame
// a scene whose picture the graph has not kept.
void RescaleView(AltimeterLink& link, int32_t& step) {
  const auto data = link.LockData();
  link.viewRange.Height += step;
  step = -step;
}

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double MedianMs(std::vector<double> samples) {
  if (samples.empty()) return 0.0;
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

double TimeFrames(const std::function<void()>& frame) {
  std::vector<double> times;
  for (int i = 0; i < kFrames; ++i) {
    const auto start = Clock::now();
    frame();
    times.push_back(MsSince(start));
    PumpMessages();
  }
  return MedianMs(times);
}

struct LiveFrameTimes {
  std::vector<double> frames;  // drawn and presented
  std::vector<double> presents;
  std::vector<double> fullFrames;
  std::vector<double> extendedFrames;
};

// The frames of a download: a few words added, then a frame drawn and
// presented, over the whole memory.
LiveFrameTimes TimeLiveFrames(AltimeterLink& link, const std::vector<uint16_t>& words) {
  link.fastSet.Reset();
  LiveFrameTimes times;
  for (size_t next = 0; next < words.size();) {
    const size_t end = std::min(words.size(), next + kWordsPerLiveFrame);
    for (; next < end; ++next) link.fastSet.AddSample(words[next], 0);
    const uint64_t fullBefore = LiveTraceFramesDrawnInFull();
    const auto start = Clock::now();
    DrawLiveTrace();
    const auto drawn = Clock::now();
    PresentGraph();
    times.frames.push_back(MsSince(start));
    times.presents.push_back(MsSince(drawn));
    (LiveTraceFramesDrawnInFull() > fullBefore ? times.fullFrames : times.extendedFrames).push_back(MsSince(start));
    PumpMessages();
  }
  return times;
}

void PrintLiveFrames(const LiveFrameTimes& times) {
  std::printf("live trace frame, drawn and presented: median %.2f ms (goal 1)\n", MedianMs(times.frames));
  std::printf("  %zu frames of a download, %zu words apart: %zu drawn in full, median %.2f ms; the others, median "
              "%.2f ms; their presents, median %.2f ms\n",
              times.frames.size(), kWordsPerLiveFrame, times.fullFrames.size(), MedianMs(times.fullFrames),
              MedianMs(times.extendedFrames), MedianMs(times.presents));
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
      slowestRequestMs = std::max(slowestRequestMs, MsSince(asked));
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
  std::printf("data set view, drawn and presented: median %.2f ms (goal 5)\n", TimeFrames([] {
                DrawDataSetView();
                PresentGraph();
              }));
  std::printf("data set view of a scene not drawn before (a new selection), drawn and presented: median %.2f ms\n",
              TimeFrames([&link, step = int32_t{1}]() mutable {
                RescaleView(link, step);
                DrawDataSetView();
                PresentGraph();
              }));
  PrintLiveFrames(TimeLiveFrames(link, words));
  std::printf("present alone: median %.2f ms\n",
              TimeFrames([&client] { PresentBackSurface(client.right, client.bottom); }));
  std::fflush(stdout);
  SimulateDownload(link, words);
  ReleaseDrawing();
  DestroyWindow(window);
  return 0;
}
