#pragma once
// The DirectDraw objects of the graph: the DirectDraw object, the primary
// surface clipped to the window, and the off-screen back surface every view is
// drawn into. Not thread-safe: the graph's drawing lock guards it.
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
  // Fills the whole back surface with `colour`, converted to its pixel format.
  bool Fill(Rgb colour);
  // Copies the back surface to the client rectangle (0, 0, width, height) of
  // `window`, stretched when the sizes differ. Lost surfaces are restored.
  PresentResult Present(HWND window, int32_t width, int32_t height);

 private:
  HRESULT Blit(HWND window, int32_t width, int32_t height);
  bool Restore();
  bool CreatePrimarySurface();
  bool CreateBackSurface(int32_t width, int32_t height);
  bool AttachClipper(HWND window);

  Microsoft::WRL::ComPtr<IDirectDraw7> directDraw_;
  Microsoft::WRL::ComPtr<IDirectDrawSurface7> primarySurface_;
  Microsoft::WRL::ComPtr<IDirectDrawSurface7> backSurface_;
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
