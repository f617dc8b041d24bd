#pragma once
// The flight graph of the main window: a DirectDraw back surface of the client
// size into which the data set view or the live trace is drawn with GDI+, and
// one blit that presents it.
//
// Any thread may call these; one recursive drawing lock keeps a drawing, a
// present and a release or re-creation of the surfaces from overlapping. The
// data a view shows is read under the data model's locks and drawn from a copy.
// A thread that feeds the live trace should not draw at all: RequestLiveTrace
// asks the main window to, without waiting. Surfaces found lost and restored
// by a present are redrawn the same way, with the view last drawn or asked for.
#include <windows.h>

#include <cstdint>

#include "view/GraphColours.h"
#include "view/PixelColour.h"

class AltimeterLink;

extern HWND g_hWnd;  // the main window, set by ResetDrawing

// Posted to g_hWnd for a redraw; the window answers with ServeRedrawRequest.
constexpr UINT WM_REDRAWGRAPH = WM_APP + 1;

constexpr Rgb kBlack{0, 0, 0};

// The link whose currentSet, fastSet, viewRange and view size the graph shows.
void BindGraph(AltimeterLink& link);
// The size of the surfaces made by the next ResetDrawing, and of the mapping.
void SetGraphSize(int32_t width, int32_t height);
// The DPI the graph is drawn for (96 until set): its margins, offsets, pens
// and font grow with it. Takes effect at the next drawing.
void SetGraphDpi(int32_t dpi);
// Releases, then creates the surfaces for `window` and fills them black. On
// failure: a warning box unless `quiet`, then the quit message.
void ResetDrawing(HWND window, bool quiet);
void ReleaseDrawing();
// Fills the whole back surface; false when there is none or the fill failed.
bool ClearBackSurface(Rgb colour);
// Blits the back surface to the client rectangle (0, 0, width, height) of
// g_hWnd. False when the drawing is released or the surfaces were lost; once
// restored, they are redrawn on request.
bool PresentBackSurface(int32_t width, int32_t height);
// PresentBackSurface at the current client size; after live frames alone,
// only the part they changed.
void PresentGraph();
// Copies the whole back surface to (0, 0) of `destination`, for tests; false
// when there is none.
bool CopyBackSurface(HDC destination);
// Draws the data set view and invalidates the window so WM_PAINT presents it.
// A pending redraw request is dropped: this picture replaces it.
void RefreshGraph();
// A scene drawn last time at the same size is copied from a kept picture.
void DrawDataSetView();
// Draws the live trace; the caller presents. Costs what changed since the
// last live frame, unless something else was drawn since.
void DrawLiveTrace();
// How many live-trace frames were drawn since the program started, and how
// many of them in full rather than from the frame before.
uint64_t LiveTraceFramesDrawn();
uint64_t LiveTraceFramesDrawnInFull();
// A registered message: sent to the main window, it answers LiveTraceFramesDrawn,
// so a benchmark can count the frames of a download from outside.
constexpr wchar_t kLiveTraceFramesMessage[] = L"ZelLiveTraceFrames";
// A registered message: sent to the main window, it writes the data set
// view's layout (LayoutText) to the log and answers the graph's DPI, so a test
// can check the layout from outside. Nothing is logged unless asked.
constexpr wchar_t kGraphLayoutMessage[] = L"ZelGraphLayout";
int32_t LogGraphLayout();
// Any thread, never waits: asks the main window to draw and present the live
// trace from the latest samples. Requests made before it gets to it add nothing.
void RequestLiveTrace();
// Main thread, on WM_REDRAWGRAPH: draws and presents the view last drawn or
// asked for, if a redraw is pending.
void ServeRedrawRequest();
