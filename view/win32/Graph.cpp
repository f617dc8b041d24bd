#include "view/win32/Graph.h"

#include <atomic>
#include <mutex>

#include "base/DebugLog.h"
#include "device/AltimeterLink.h"
#include "view/GraphScene.h"
#include "view/RedrawRequest.h"
#include "view/win32/DataSetPicture.h"
#include "view/win32/GraphPainter.h"
#include "view/win32/GraphSurfaces.h"
#include "view/win32/LiveTraceCanvas.h"
#include "view/win32/PendingPresent.h"

HWND g_hWnd = nullptr;

namespace {

std::recursive_mutex drawingMutex;
GraphSurfaces surfaces;
AltimeterLink* graphLink = nullptr;  // we don't own it
int32_t graphWidth = 640;
int32_t graphHeight = 480;
GraphScale graphScale;

enum class GraphView { DataSet, LiveTrace };

// Set by any thread that asks for the live trace, so atomic.
std::atomic<GraphView> currentView{GraphView::DataSet};
// Read by requesting threads, so not g_hWnd itself.
std::atomic<HWND> redrawWindow{nullptr};
RedrawRequest redrawRequest([] {
  const HWND window = redrawWindow.load();
  return window != nullptr && PostMessageW(window, WM_REDRAWGRAPH, 0, 0) != FALSE;
});

using DrawingLock = std::lock_guard<std::recursive_mutex>;

std::atomic<uint64_t> liveTraceFrames{0};
std::atomic<uint64_t> liveTraceFramesInFull{0};
LiveTraceCanvas liveCanvas;
PendingPresent pendingPresent;

// Whatever changed the back surface other than a live frame.
void BackSurfaceOverwritten() {
  liveCanvas.Forget();
  pendingPresent.AddWhole();
}

// Restored surfaces are redrawn from the message loop, not here: a present may
// run inside a drawing, and a loss that recurs must not recurse.
bool Presented(PresentResult result) {
  if (result == PresentResult::Restored) {
    BackSurfaceOverwritten();
    redrawRequest.Request();
  }
  return result == PresentResult::Shown;
}

bool SameSize(SIZE size, int32_t width, int32_t height) { return size.cx == width && size.cy == height; }

GraphMapping MappingOf(const ViewRange& range) {
  return GraphMapping(range, graphLink->viewWidth, graphLink->viewHeight, graphScale);
}

DataSetPicture dataSetPicture;

DataSetScene CurrentDataSetScene() {
  const auto data = graphLink->LockData();
  return BuildDataSetScene(graphLink->currentSet, MappingOf(graphLink->viewRange));
}

// From now on the data set view's range is overwritten until the next selection.
LiveScene CurrentLiveScene() {
  const FastTrace trace = graphLink->fastSet.Snapshot();
  const auto data = graphLink->LockData();
  graphLink->viewRange = trace.range;
  return BuildLiveScene(trace, MappingOf(trace.range));
}

bool CreateDrawing(HWND window) {
  const DrawingLock lock(drawingMutex);
  ReleaseDrawing();
  g_hWnd = window;
  redrawWindow.store(window);
  if (surfaces.Create(window, graphWidth, graphHeight)) {
    ClearBackSurface(kBlack);
    return true;
  }
  ReleaseDrawing();
  return false;
}

}  // namespace

void BindGraph(AltimeterLink& link) { graphLink = &link; }

void SetGraphSize(int32_t width, int32_t height) {
  const DrawingLock lock(drawingMutex);
  graphWidth = width;
  graphHeight = height;
  const auto data = graphLink->LockData();
  graphLink->viewWidth = width;
  graphLink->viewHeight = height;
}

void SetGraphDpi(int32_t dpi) {
  const DrawingLock lock(drawingMutex);
  graphScale = GraphScale(dpi);
}

void ResetDrawing(HWND window, bool quiet) {
  if (CreateDrawing(window)) return;
  if (!quiet) MessageBoxW(window, L"Failed to Initialize Direct Draw", L"Direct Draw Init Failed!", MB_ICONWARNING);
  PostQuitMessage(0);
}

void ReleaseDrawing() {
  const DrawingLock lock(drawingMutex);
  BackSurfaceOverwritten();
  surfaces.Release();
}

bool ClearBackSurface(Rgb colour) {
  const DrawingLock lock(drawingMutex);
  BackSurfaceOverwritten();
  return surfaces.Fill(colour);
}

bool PresentBackSurface(int32_t width, int32_t height) {
  const DrawingLock lock(drawingMutex);
  const bool shown = Presented(surfaces.Present(g_hWnd, width, height));
  if (!shown) return false;
  if (SameSize(surfaces.BackSize(), width, height)) {
    pendingPresent.Presented();
  } else {
    pendingPresent.AddWhole();  // the screen holds a stretched picture
  }
  return true;
}

// Copies only what live frames drew since the last present when the screen
// holds the rest unstretched; a whole present costs more than a frame.
void PresentGraph() {
  const DrawingLock lock(drawingMutex);
  RECT client{};
  GetClientRect(g_hWnd, &client);
  if (pendingPresent.Whole() || !SameSize(surfaces.BackSize(), client.right, client.bottom)) {
    PresentBackSurface(client.right, client.bottom);
    return;
  }
  if (IsRectEmpty(&pendingPresent.Area())) return;
  if (Presented(surfaces.PresentArea(g_hWnd, pendingPresent.Area()))) pendingPresent.Presented();
}

void RefreshGraph() {
  const DrawingLock lock(drawingMutex);
  if (!surfaces.HasBackSurface()) return;
  redrawRequest.Discard();
  DrawDataSetView();
  InvalidateRect(g_hWnd, nullptr, FALSE);
}

void DrawDataSetView() {
  const DrawingLock lock(drawingMutex);
  currentView = GraphView::DataSet;
  ClearBackSurface(kDataSetBackground);
  const DataSetScene scene = CurrentDataSetScene();
  const SurfaceDc dc(surfaces.BackSurface());
  DebugLog << "Updating buffer." << std::endl;
  if (dc.Get()) dataSetPicture.Paint(dc.Get(), surfaces.BackSize(), scene);
}

void DrawLiveTrace() {
  const DrawingLock lock(drawingMutex);
  if (!surfaces.HasBackSurface()) return;
  currentView = GraphView::LiveTrace;
  const LiveFrame frame = liveCanvas.Draw(surfaces, CurrentLiveScene());
  pendingPresent.Add(frame.changed);
  ++liveTraceFrames;
  if (frame.full) ++liveTraceFramesInFull;
}

int32_t LogGraphLayout() {
  const DrawingLock lock(drawingMutex);
  DebugLog << LayoutText(CurrentDataSetScene()) << std::flush;
  return graphScale.Dpi();
}

uint64_t LiveTraceFramesDrawn() { return liveTraceFrames; }

uint64_t LiveTraceFramesDrawnInFull() { return liveTraceFramesInFull; }

bool CopyBackSurface(HDC destination) {
  const DrawingLock lock(drawingMutex);
  const SurfaceDc back(surfaces.BackSurface());
  const SIZE size = surfaces.BackSize();
  return back.Get() && BitBlt(destination, 0, 0, size.cx, size.cy, back.Get(), 0, 0, SRCCOPY) != FALSE;
}

void RequestLiveTrace() {
  currentView = GraphView::LiveTrace;
  redrawRequest.Request();
}

void ServeRedrawRequest() {
  const DrawingLock lock(drawingMutex);
  if (!redrawRequest.Take() || !surfaces.HasBackSurface()) return;
  if (currentView == GraphView::LiveTrace) {
    DrawLiveTrace();
  } else {
    DrawDataSetView();
  }
  PresentGraph();
}
