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

RECT ClientRectOnScreen(HWND window, const RECT& client) {
  POINT topLeft{client.left, client.top};
  POINT bottomRight{client.right, client.bottom};
  ClientToScreen(window, &topLeft);
  ClientToScreen(window, &bottomRight);
  return {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

bool FillSurface(IDirectDrawSurface7* surface, Rgb colour, const RECT* area = nullptr) {
  if (!surface) return false;
  DDBLTFX effects = SizedRecord<DDBLTFX>();
  effects.dwFillColor = PackPixel(colour, MasksOf(surface));
  RECT destination = area ? *area : RECT{};
  return SUCCEEDED(
      surface->Blt(area ? &destination : nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &effects));
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
      CreateOffscreenSurface({width, height}, backSurface_) && AttachClipper(window);
  backSize_ = {width, height};
  if (!created) Release();
  return created;
}

bool GraphSurfaces::CreatePrimarySurface() {
  DDSURFACEDESC2 description = SizedRecord<DDSURFACEDESC2>();
  description.dwFlags = DDSD_CAPS;
  description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
  return SUCCEEDED(directDraw_->CreateSurface(&description, primarySurface_.GetAddressOf(), nullptr));
}

bool GraphSurfaces::CreateOffscreenSurface(SIZE size, Microsoft::WRL::ComPtr<IDirectDrawSurface7>& surface) {
  DDSURFACEDESC2 description = SizedRecord<DDSURFACEDESC2>();
  description.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
  description.dwWidth = static_cast<DWORD>(size.cx);
  description.dwHeight = static_cast<DWORD>(size.cy);
  return SUCCEEDED(directDraw_->CreateSurface(&description, surface.GetAddressOf(), nullptr));
}

IDirectDrawSurface7* GraphSurfaces::KeptSurface() {
  if (!keptSurface_ && backSurface_ && !CreateOffscreenSurface(backSize_, keptSurface_)) keptSurface_.Reset();
  return keptSurface_.Get();
}

// The primary surface keeps the only lasting reference to the clipper.
bool GraphSurfaces::AttachClipper(HWND window) {
  Microsoft::WRL::ComPtr<IDirectDrawClipper> clipper;
  return SUCCEEDED(directDraw_->CreateClipper(0, clipper.GetAddressOf(), nullptr)) &&
         SUCCEEDED(clipper->SetHWnd(0, window)) && SUCCEEDED(primarySurface_->SetClipper(clipper.Get()));
}

void GraphSurfaces::Release() {
  keptSurface_.Reset();
  backSurface_.Reset();
  backSize_ = {};
  primarySurface_.Reset();
  if (directDraw_) directDraw_->SetCooperativeLevel(window_, DDSCL_NORMAL);
  directDraw_.Reset();
}

bool GraphSurfaces::Fill(Rgb colour) { return FillSurface(backSurface_.Get(), colour); }

bool GraphSurfaces::FillKept(Rgb colour, const RECT* area) { return FillSurface(keptSurface_.Get(), colour, area); }

bool GraphSurfaces::CopyKeptToBack(const RECT& area) {
  if (!backSurface_ || !keptSurface_) return false;
  RECT destination = area;
  RECT source = area;
  return SUCCEEDED(backSurface_->Blt(&destination, keptSurface_.Get(), &source, DDBLT_WAIT, nullptr));
}

PresentResult GraphSurfaces::Present(HWND window, int32_t width, int32_t height) {
  return PresentFrom(ClientRectOnScreen(window, {0, 0, width, height}), nullptr);
}

PresentResult GraphSurfaces::PresentArea(HWND window, const RECT& area) {
  return PresentFrom(ClientRectOnScreen(window, area), &area);
}

PresentResult GraphSurfaces::PresentFrom(const RECT& destination, const RECT* source) {
  if (!primarySurface_ || !backSurface_) return PresentResult::NotShown;
  if (Blit(destination, source) != DDERR_SURFACELOST) return PresentResult::Shown;
  return Restore() ? PresentResult::Restored : PresentResult::NotShown;
}

HRESULT GraphSurfaces::Blit(const RECT& destination, const RECT* source) {
  if (StrikeDrawingFault(DrawingFault::SurfacesLost)) {
    Fill(kLostSurfaceContent);
    return DDERR_SURFACELOST;
  }
  RECT to = destination;
  RECT from = source ? *source : RECT{};
  HRESULT result;
  do {
    result = primarySurface_->Blt(&to, backSurface_.Get(), source ? &from : nullptr, DDBLT_WAIT, nullptr);
  } while (result == DDERR_WASSTILLDRAWING);
  return result;
}

// Each surface gets its chance, whatever became of the others.
bool GraphSurfaces::Restore() {
  const bool primaryRestored = SUCCEEDED(primarySurface_->Restore());
  const bool backRestored = SUCCEEDED(backSurface_->Restore());
  const bool keptRestored = !keptSurface_ || SUCCEEDED(keptSurface_->Restore());
  return primaryRestored && backRestored && keptRestored;
}

SurfaceDc::SurfaceDc(IDirectDrawSurface7* surface) : surface_(surface) {
  if (surface_ && FAILED(surface_->GetDC(&dc_))) dc_ = nullptr;
}

SurfaceDc::~SurfaceDc() {
  if (dc_) surface_->ReleaseDC(dc_);
}
