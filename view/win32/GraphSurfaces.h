#pragma once
// The DirectDraw objects of the graph: the DirectDraw object, the primary
// surface clipped to the window, the off-screen back surface every view is
// drawn into, and a kept surface like it for a picture that outlives one
// drawing. Not thread-safe: the graph's drawing lock guards it.
#include <windows.h>
#include <ddraw.h>
#include <wrl/client.h>

#include <cstdint>

#include "view/PixelColour.h"

enum class PresentResult {
  Shown,     // copied, or failed in a way a new attempt would not mend
  NotShown,  // no surfaces, or lost and not restorable
  Restored,  // lost and restored: they hold nothing defined until the next draw
};

class GraphSurfaces {
 public:
  GraphSurfaces() = default;
  GraphSurfaces(const GraphSurfaces&) = delete;
  GraphSurfaces& operator=(const GraphSurfaces&) = delete;
  ~GraphSurfaces() { Release(); }

  // Creates everything for `window` with a back surface of width x height in
  // the display's format. False, with whatever was made released, on failure.
  bool Create(HWND window, int32_t width, int32_t height);
  // Releases the back surface, the primary surface, then the DirectDraw object.
  void Release();

  bool HasBackSurface() const { return backSurface_ != nullptr; }
  IDirectDrawSurface7* BackSurface() const { return backSurface_.Get(); }
  // The back surface's size: a present of part of it needs the client area
  // to be the same.
  SIZE BackSize() const { return backSize_; }
  // Made on first use, in the size and format of the back surface; null when
  // it cannot be made.
  IDirectDrawSurface7* KeptSurface();
  // Fills the whole back surface with `colour`, converted to its pixel format.
  bool Fill(Rgb colour);
  // Fills `area` of the kept surface, or all of it.
  bool FillKept(Rgb colour, const RECT* area = nullptr);
  // Copies `area` of the kept surface to the same place on the back surface.
  bool CopyKeptToBack(const RECT& area);
  // Copies the back surface to the client rectangle (0, 0, width, height) of
  // `window`, stretched when the sizes differ. Lost surfaces are restored.
  PresentResult Present(HWND window, int32_t width, int32_t height);
  // Copies `area` of the back surface to the same place in the client area.
  PresentResult PresentArea(HWND window, const RECT& area);

 private:
  PresentResult PresentFrom(const RECT& destination, const RECT* source);
  HRESULT Blit(const RECT& destination, const RECT* source);
  bool Restore();
  bool CreatePrimarySurface();
  bool CreateOffscreenSurface(SIZE size, Microsoft::WRL::ComPtr<IDirectDrawSurface7>& surface);
  bool AttachClipper(HWND window);

  Microsoft::WRL::ComPtr<IDirectDraw7> directDraw_;
  Microsoft::WRL::ComPtr<IDirectDrawSurface7> primarySurface_;
  Microsoft::WRL::ComPtr<IDirectDrawSurface7> backSurface_;
  Microsoft::WRL::ComPtr<IDirectDrawSurface7> keptSurface_;
  SIZE backSize_{};
  HWND window_ = nullptr;  // we don't own it
};

// The GDI device context of a surface for the life of the object; null when
// the surface gives none.
class SurfaceDc {
 public:
  explicit SurfaceDc(IDirectDrawSurface7* surface);
  ~SurfaceDc();
  SurfaceDc(const SurfaceDc&) = delete;
  SurfaceDc& operator=(const SurfaceDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  IDirectDrawSurface7* surface_;
  HDC dc_ = nullptr;
};
