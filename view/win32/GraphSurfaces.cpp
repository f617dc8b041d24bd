#include "view/win32/GraphSurfaces.h"

#include "view/win32/DrawingFaults.h"

namespace {

// DirectDraw expects the size of the record in its first field and zeroes elsewhere.
template <typename Record>
Record SizedRecord() {
  Record record{};
  record.dwSize = sizeof(Record);
  return record;
}

PixelMasks MasksOf(IDirectDrawSurface7* surface) {
  DDPIXELFORMAT format = SizedRecord<DDPIXELFORMAT>();
  if (FAILED(surface->GetPixelFormat(&format)) || !(format.dwFlags & DDPF_RGB)) return {};
  return {format.dwRBitMask, format.dwGBitMask, format.dwBBitMask};
}

RECT ClientRectOnScreen(HWND window, int32_t width, int32_t height) {
  POINT topLeft{0, 0};
  POINT bottomRight{width, height};
  ClientToScreen(window, &topLeft);
  ClientToScreen(window, &bottomRight);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

}  // namespace

bool GraphSurfaces::Create(HWND window, int32_t width, int32_t height) {
  Release();
  window_ = window;
  const bool created =
      !StrikeDrawingFault(DrawingFault::SetUpFails) &&
      SUCCEEDED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(directDraw_.GetAddressOf()), IID_IDirectDraw7,
                                   nullptr)) &&
      SUCCEEDED(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL)) && CreatePrimarySurface() &&
      CreateBackSurface(width, height) && AttachClipper(window);
  if (!created) Release();
  return created;
}

bool GraphSurfaces::CreatePrimarySurface() {
  DDSURFACEDESC2 description = SizedRecord<DDSURFACEDESC2>();
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  return SUCCEEDED(directDraw_->CreateSurface(&description, primarySurface_.GetAddressOf(), nullptr));
}

bool GraphSurfaces::CreateBackSurface(int32_t width, int32_t height) {
  DDSURFACEDESC2 description = SizedRecord<DDSURFACEDESC2>();
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
  description.dwWidth = static_cast<DWORD>(width);
  description.dwHeight = static_cast<DWORD>(height);
  return SUCCEEDED(directDraw_->CreateSurface(&description, backSurface_.GetAddressOf(), nullptr));
}

// The primary surface keeps the only lasting reference to the clipper.
bool GraphSurfaces::AttachClipper(HWND window) {
  Microsoft::WRL::ComPtr<IDirectDrawClipper> clipper;
  return SUCCEEDED(directDraw_->CreateClipper(0, clipper.GetAddressOf(), nullptr)) &&
         SUCCEEDED(clipper->SetHWnd(0, window)) && SUCCEEDED(primarySurface_->SetClipper(clipper.Get()));
}

void GraphSurfaces::Release() {
  backSurface_.Reset();
  primarySurface_.Reset();
  if (directDraw_) directDraw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
  directDraw_.Reset();
}

bool GraphSurfaces::Fill(Rgb colour) {
  if (!backSurface_) return false;
  DDBLTFX effects = SizedRecord<DDBLTFX>();
  effects.dwFillColor = PackPixel(colour, MasksOf(backSurface_.Get()));
  return SUCCEEDED(backSurface_->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects));
}

PresentResult GraphSurfaces::Present(HWND window, int32_t width, int32_t height) {
  if (!primarySurface_ || !backSurface_) return PresentResult::NotShown;
  if (Blit(window, width, height) != DDERR_SURFACELOST) return PresentResult::Shown;
  return Restore() ? PresentResult::Restored : PresentResult::NotShown;
}

HRESULT GraphSurfaces::Blit(HWND window, int32_t width, int32_t height) {
  if (StrikeDrawingFault(DrawingFault::SurfacesLost)) {
    Fill(kLostSurfaceContent);
    return DDERR_SURFACELOST;
  }
  RECT destination = ClientRectOnScreen(window, width, height);
  HRESULT result;
  do {
    result = primarySurface_->Blt(&destination, backSurface_.Get(), nullptr, DDBLT_WAIT, nullptr);
  } while (result == DDERR_WASSTILLDRAWING);
  return result;
}

// Each surface gets its chance, whatever became of the other.
bool GraphSurfaces::Restore() {
  const bool primaryRestored = SUCCEEDED(primarySurface_->Restore());
  const bool backRestored = SUCCEEDED(backSurface_->Restore());
  return primaryRestored && backRestored;
}

SurfaceDc::SurfaceDc(IDirectDrawSurface7* surface) : surface_(surface) {
  if (surface_ && FAILED(surface_->GetDC(&dc_))) dc_ = nullptr;
}

SurfaceDc::~SurfaceDc() {
  if (dc_) surface_->ReleaseDC(dc_);
}
