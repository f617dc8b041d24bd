// Every frame of the live trace, drawn from the frame before as a download
// feeds it, must be the picture a full redraw of the same trace gives, pixel
// for pixel: through width steps and peak rises, and after anything else drew
// on the surfaces or remade them. What reaches the screen must be all of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "sim/FlightModel.h"
#include "support/LogCapture.h"
#include "support/win32/MemoryPicture.h"
#include "view/GraphColours.h"
#include "view/GraphScene.h"
#include "view/win32/DrawingFaults.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/Graph.h"
#include "view/win32/GraphPainter.h"
#include "view/win32/GraphSurfaces.h"

namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// Samples that arrive between two frames, in turn: single samples, bursts, and
// runs long enough to cross a 5 s width step between two frames.
const std::vector<size_t> kBunches{1, 5, 17, 2, 9, 33, 3, 12, 1, 1, 64, 7};

using Pixels = std::vector<uint32_t>;

// A 32-bit kWidth x kHeight picture, top row first, behind a memory device context.
Pixels CopiedPixels(const std::function<bool(HDC)>& copy) {
  const MemoryPicture picture(kWidth, kHeight);
  return picture.Ready() && copy(picture.Dc()) ? picture.Pixels() : Pixels{};
}

Pixels SurfacePixels(IDirectDrawSurface7* surface) {
  return CopiedPixels([surface](HDC destination) {
    const SurfaceDc source(surface);
    return source.Get() && BitBlt(destination, 0, 0, kWidth, kHeight, source.Get(), 0, 0, SRCCOPY);
  });
}

// Wine copies a window's picture to the screen once its thread finds no more
// messages: the pump comes first.
void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

Pixels ScreenPixels(HWND window) {
  PumpMessages();
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return CopiedPixels([origin](HDC destination) {
    const HDC screen = GetDC(nullptr);
    const bool copied = BitBlt(destination, 0, 0, kWidth, kHeight, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return copied;
  });
}

std::string FirstDifference(const Pixels& actual, const Pixels& expected) {
  if (actual.empty() || actual.size() != expected.size()) return "no picture";
  int count = 0;
  size_t first = 0;
  for (size_t i = actual.size(); i-- > 0;) {
    if (actual[i] == expected[i]) continue;
    ++count;
    first = i;
  }
  if (count == 0) return "";
  char text[120];
  std::snprintf(text, sizeof text, "%d pixels differ, the first at (%zu, %zu): %06x, not %06x", count, first % kWidth,
                first / kWidth, actual[first], expected[first]);
  return text;
}

LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      RECT client{};
      GetClientRect(window, &client);
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      PresentBackSurface(client.right, client.bottom);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

HWND CreateGraphWindow() {
  static const ATOM registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = GraphWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LiveTraceFramesTest";
    return RegisterClassW(&windowClass);
  }();
  if (!registered) return nullptr;
  return CreateWindowExW(0, L"LiveTraceFramesTest", L"", WS_POPUP, 0, 0, kWidth, kHeight, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

std::vector<uint16_t> FlightWords(double thrustN, double burnTimeS, double descentRateMs, uint16_t samples) {
  FlightParameters flight;
  flight.thrustN = thrustN;
  flight.burnTimeS = burnTimeS;
  flight.descentRateMs = descentRateMs;
  flight.rules.maxReadings = samples;
  return RecordFlight(flight).words;
}

// A slow descent that fills the memory before the landing.
const std::vector<uint16_t>& FullMemory() {
  static const std::vector<uint16_t> words = FlightWords(60.0, 2.5, 2.0, 3968);
  return words;
}

const std::vector<uint16_t>& ShortFlight() {
  static const std::vector<uint16_t> words = FlightWords(21.0, 1.25, 5.5, 400);
  return words;
}

// Sharp reversals of every size on a slow climb: joints at every angle.
const std::vector<uint16_t>& ZigZag() {
  static const std::vector<uint16_t> words = [] {
    std::vector<uint16_t> zigZag;
    for (int i = 0; i < 600; ++i) zigZag.push_back(MakeSampleWord(800 - i / 20 - (i % 2) * (i % 13), 0));
    return zigZag;
  }();
  return words;
}

// A spike for the scale, then a wander as high above the ground as the
// "Ground" label stands, under it: strokes that the label is printed over.
const std::vector<uint16_t>& UnderTheGroundLabel() {
  static const std::vector<uint16_t> words = [] {
    std::vector<uint16_t> wander{MakeSampleWord(800, 0), MakeSampleWord(800, 0), MakeSampleWord(760, 0),
                                 MakeSampleWord(700, 0), MakeSampleWord(760, 0)};
    for (int i = 0; i < 44; ++i) wander.push_back(MakeSampleWord(786 + i % 5 + 4 * (i % 2), 0));
    return wander;
  }();
  return words;
}

class LiveTraceFrames : public ::testing::Test {
 protected:
  void SetUp() override {
    BindGraph(link);
    window = CreateGraphWindow();
    ASSERT_NE(nullptr, window);
    SetGraphSize(kWidth, kHeight);
    ResetDrawing(window, true);
    ASSERT_TRUE(fullRedraw.Create(window, kWidth, kHeight));
  }
  void TearDown() override {
    fullRedraw.Release();
    ReleaseDrawing();
    DestroyWindow(window);
  }

  // The trace as the live trace was drawn before frames were kept: the
  // background, then the whole scene.
  Pixels FullRedraw() {
    const FastTrace trace = link.fastSet.Snapshot();
    const LiveScene scene = BuildLiveScene(trace, GraphMapping(trace.range, kWidth, kHeight));
    fullRedraw.Fill(kLiveTraceBackground);
    {
      const SurfaceDc dc(fullRedraw.BackSurface());
      if (dc.Get()) PaintLiveScene(dc.Get(), scene);
    }
    return SurfacePixels(fullRedraw.BackSurface());
  }

  void ExpectFullRedraw(const Pixels& actual, const std::string& frame) {
    EXPECT_EQ("", FirstDifference(actual, FullRedraw())) << frame;
  }

  // Feeds `words` in bunches and draws a frame after each; `beforeFrame` and
  // `afterFrame` run around frame n.
  void Feed(const std::vector<uint16_t>& words, const std::function<void(int)>& beforeFrame,
            const std::function<void(int)>& afterFrame) {
    size_t next = 0;
    for (int frame = 0; next < words.size(); ++frame) {
      const size_t end = std::min(words.size(), next + bunches[frame % bunches.size()]);
      for (; next < end; ++next) link.fastSet.AddSample(words[next], 0);
      beforeFrame(frame);
      DrawLiveTrace();
      afterFrame(frame);
    }
  }

  // Every frame drawn while `words` are fed is held against a full redraw. At
  // least `extendedShare` of them must have been drawn from the frame before,
  // or this tests nothing.
  void FeedComparingEveryFrame(const std::vector<uint16_t>& words, const std::string& flight, double extendedShare,
                               const std::function<void(int)>& beforeFrame = [](int) {}) {
    const uint64_t framesBefore = LiveTraceFramesDrawn();
    const uint64_t fullBefore = LiveTraceFramesDrawnInFull();
    Feed(words, beforeFrame, [&](int frame) {
      ExpectFullRedraw(CopiedPixels(CopyBackSurface), flight + ", frame " + std::to_string(frame));
    });
    const uint64_t frames = LiveTraceFramesDrawn() - framesBefore;
    const uint64_t full = LiveTraceFramesDrawnInFull() - fullBefore;
    std::printf("%s: %llu frames, %llu of them in full\n", flight.c_str(), static_cast<unsigned long long>(frames),
                static_cast<unsigned long long>(full));
    EXPECT_GE(static_cast<double>(frames - full), extendedShare * static_cast<double>(frames)) << flight;
  }

  LogCapture log;  // a data set view logs its drawing
  GdiplusSession gdiplus;
  NoDeviceBackend backend;
  AltimeterLink link{backend};
  HWND window = nullptr;
  GraphSurfaces fullRedraw;
  std::vector<size_t> bunches = kBunches;
};

TEST_F(LiveTraceFrames, EveryFrameOfADownloadIsAsAFullRedraw) {
  // Frames after a width step or a peak rise are drawn in full.
  FeedComparingEveryFrame(FullMemory(), "full memory", 0.7);
  link.fastSet.Reset();  // the next set of the memory
  FeedComparingEveryFrame(ShortFlight(), "short flight after it", 0.5);
  link.fastSet.Reset();
  FeedComparingEveryFrame(ZigZag(), "zig-zag after it", 0.4);
}

// Each new sample strokes a little further under the label, which has to be
// printed over the new stroke as over the whole picture.
TEST_F(LiveTraceFrames, LabelsOverNewStrokesAreAsInAFullRedraw) {
  bunches = {1};
  FeedComparingEveryFrame(UnderTheGroundLabel(), "a wander under the ground label", 0.8);
}

struct Interruption {
  const char* name;
  std::function<void(HWND, FastSet&)> act;
};

TEST_F(LiveTraceFrames, FramesAfterOtherDrawingsAreAsAFullRedraw) {
  const Interruption interruptions[] = {
      {"a data set view", [](HWND, FastSet&) { RefreshGraph(); }},
      {"surfaces remade", [](HWND window, FastSet&) { ResetDrawing(window, true); }},
      {"surfaces lost at a present",
       [](HWND, FastSet&) {
         ArmDrawingFault(DrawingFault::SurfacesLost);
         PresentBackSurface(kWidth, kHeight);
       }},
      // More samples than before: a count alone would take it for a continuation.
      {"trace reset and refilled past its length",
       [](HWND, FastSet& trace) {
         const size_t length = trace.Snapshot().samples.size();
         trace.Reset();
         for (size_t i = 0; i < length + 20; ++i) trace.AddSample(FullMemory()[i], 0);
       }},
  };
  constexpr int kFramesBetween = 25;
  FeedComparingEveryFrame(FullMemory(), "interrupted full memory", 0.7, [&](int frame) {
    const size_t which = static_cast<size_t>(frame / kFramesBetween);
    if (frame % kFramesBetween != kFramesBetween - 1 || which >= std::size(interruptions)) return;
    std::printf("frame %d: %s\n", frame, interruptions[which].name);
    interruptions[which].act(window, link.fastSet);
  });
}

// Live frames present only what they changed; after anything else, and after
// a present that stretched the picture, a present copies the whole.
TEST_F(LiveTraceFrames, ScreenShowsAllOfEveryPresentedFrame) {
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  const auto expectScreenShowsBackSurface = [this](const std::string& when) {
    PresentGraph();
    EXPECT_EQ("", FirstDifference(ScreenPixels(window), CopiedPixels(CopyBackSurface))) << when;
  };
  const auto resize = [this](int width, int height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    ValidateRect(window, nullptr);  // no paint may hide what a present left out
  };
  Feed(
      ShortFlight(),
      [&](int frame) {
        if (frame == 12) {
          resize(kWidth + 120, kHeight + 60);
          PresentGraph();
          resize(kWidth, kHeight);
        } else if (frame == 20) {
          RefreshGraph();
          ValidateRect(window, nullptr);
        }
      },
      [&](int frame) { expectScreenShowsBackSurface("frame " + std::to_string(frame)); });
}

}  // namespace
