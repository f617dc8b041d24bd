// Redraws that the graph asks its window for and the window serves: the live
// trace fed from another thread, and surfaces found lost by a present.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "device/AltimeterLink.h"
#include "device/NoDeviceBackend.h"
#include "support/LogCapture.h"
#include "view/win32/DrawingFaults.h"
#include "view/win32/GdiplusSession.h"
#include "view/win32/Graph.h"

namespace {

int liveDrawings = 0;  // redraw messages served
DWORD drawingThread = 0;

LRESULT CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_REDRAWGRAPH) {
    ServeRedrawRequest();
    ++liveDrawings;
    drawingThread = GetCurrentThreadId();
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

constexpr wchar_t kWindowClass[] = L"GraphRedrawTest";

HWND CreateGraphWindow() {
  static const ATOM registered = [] {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = GraphWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    return RegisterClassW(&windowClass);
  }();
  if (!registered) return nullptr;
  return CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

// Sample i of a climb: one ADC count lower, about 9 m higher, every ten samples.
uint16_t ClimbWord(int i) { return static_cast<uint16_t>((830 - i / 10) << 4); }

// A graph bound to a link, drawn into a window of its own, hidden unless a test
// reads the screen.
class GraphRedraw : public ::testing::Test {
 protected:
  void SetUp() override {
    BindGraph(link);
    window = CreateGraphWindow();
    ASSERT_NE(nullptr, window);
    SetGraphSize(320, 240);
    ResetDrawing(window, true);
    PumpMessages();
    liveDrawings = 0;
  }
  void TearDown() override {
    ReleaseDrawing();
    DestroyWindow(window);
  }

  LogCapture log;
  GdiplusSession gdiplus;
  NoDeviceBackend backend;
  AltimeterLink link{backend};
  HWND window = nullptr;
};

// The feeding thread posts and goes on while the main thread does not serve
// its messages at all: a request that waited for a drawing would never end.
TEST_F(GraphRedraw, FeedingThreadNeverWaitsAndOneDrawingShowsTheLatestTrace) {
  constexpr int kSamples = 3000;
  const HANDLE fed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread feeder([&] {
    for (int i = 0; i < kSamples; ++i) {
      link.fastSet.AddSample(ClimbWord(i), 0);
      RequestLiveTrace();
    }
    SetEvent(fed);
  });
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(fed, 10000)) << "a request waited for the main thread";
  EXPECT_EQ(0, liveDrawings);
  while (WaitForSingleObject(fed, 10) != WAIT_OBJECT_0) PumpMessages();  // frees a feeder stuck in a send
  feeder.join();
  CloseHandle(fed);

  PumpMessages();
  EXPECT_EQ(1, liveDrawings);
  EXPECT_EQ(GetCurrentThreadId(), drawingThread);
  const ViewRange latest = link.fastSet.Snapshot().range;
  const auto data = link.LockData();
  EXPECT_EQ(latest.Width, link.viewRange.Width);
  EXPECT_EQ(latest.Height, link.viewRange.Height);
  EXPECT_GT(latest.Height, 0);
}

TEST_F(GraphRedraw, RefreshDropsAPendingLiveDrawing) {
  link.fastSet.AddSample(ClimbWord(0), 0);
  RequestLiveTrace();
  RefreshGraph();  // the data set view replaces the trace that was asked for
  PumpMessages();
  EXPECT_EQ(1, liveDrawings);  // the message came, and found nothing to draw
  const auto data = link.LockData();
  EXPECT_EQ(100, link.viewRange.Width);  // not the trace's range: no live drawing happened
}

// Wine copies a window's picture to the screen once its thread finds no more
// messages: the pump comes first.
COLORREF ScreenColourAtCentre(HWND window) {
  PumpMessages();
  RECT client{};
  GetClientRect(window, &client);
  POINT centre{client.right / 2, client.bottom / 2};
  ClientToScreen(window, &centre);
  const HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, centre.x, centre.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

COLORREF ColourRefOf(Rgb colour) { return RGB(colour.red, colour.green, colour.blue); }

struct ShownView {
  const char* name;
  std::function<void(AltimeterLink&)> show;
  Rgb background;
};

// A lost surface holds nothing defined once restored: the view that was on
// screen is drawn again, and the next present shows it, not what the loss left.
TEST_F(GraphRedraw, LostSurfacesAreRedrawnWithTheViewThatWasShown) {
  const ShownView views[] = {
      {"data set view", [](AltimeterLink&) { RefreshGraph(); }, kDataSetBackground},
      {"live trace",
       [](AltimeterLink& link) {
         link.fastSet.AddSample(ClimbWord(0), 0);
         RequestLiveTrace();
       },
       kLiveTraceBackground},
  };
  ShowWindow(window, SW_SHOWNORMAL);
  RECT client{};
  GetClientRect(window, &client);
  for (const ShownView& view : views) {
    view.show(link);
    PresentGraph();
    ASSERT_EQ(ColourRefOf(view.background), ScreenColourAtCentre(window)) << view.name;

    ArmDrawingFault(DrawingFault::SurfacesLost);
    EXPECT_FALSE(PresentBackSurface(client.right, client.bottom)) << view.name;
    PumpMessages();
    PresentGraph();
    EXPECT_EQ(ColourRefOf(view.background), ScreenColourAtCentre(window)) << view.name;
  }
}

}  // namespace
