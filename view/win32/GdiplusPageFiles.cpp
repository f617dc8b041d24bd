// The pages as files in the Windows build: GDI+ paints PNG and EMF.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <memory>
#include <vector>

#include "view/page/PageFiles.h"
#include "view/win32/GdiplusCanvas.h"
#include "view/win32/GdiplusSession.h"

namespace {

using PagePaint = std::function<void(PageCanvas&)>;

bool EncoderOf(const wchar_t* mimeType, CLSID& encoder) {
  UINT count = 0, bytes = 0;
  if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0) return false;
  std::vector<BYTE> buffer(bytes);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
  for (UINT i = 0; i < count; ++i) {
    if (wcscmp(codecs[i].MimeType, mimeType) == 0) {
      encoder = codecs[i].Clsid;
      return true;
    }
  }
  return false;
}

struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};

// Everything written to `stream`, handed to `out`.
bool CopyStream(IStream* stream, std::ostream& out) {
  HGLOBAL memory = nullptr;
  if (FAILED(GetHGlobalFromStream(stream, &memory))) return false;
  STATSTG stat{};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;
  const void* bytes = GlobalLock(memory);
  if (bytes == nullptr) return false;
  out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(stat.cbSize.QuadPart));
  GlobalUnlock(memory);
  return out.good();
}

bool WritePng(PageSize page, const PagePaint& paint, std::ostream& out) {
  CLSID png{};
  if (!EncoderOf(L"image/png", png)) return false;
  const PixelSize size = PngSize(page);
  Gdiplus::Bitmap bitmap(size.width, size.height, PixelFormat24bppRGB);
  if (bitmap.GetLastStatus() != Gdiplus::Ok) return false;
  bitmap.SetResolution(static_cast<Gdiplus::REAL>(kPngPixelsPerInch), static_cast<Gdiplus::REAL>(kPngPixelsPerInch));
  {
    Gdiplus::Graphics graphics(&bitmap);
    graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
    graphics.ScaleTransform(static_cast<Gdiplus::REAL>(kPngPixelsPerPoint),
                            static_cast<Gdiplus::REAL>(kPngPixelsPerPoint));
    GdiplusCanvas canvas(graphics);
    paint(canvas);
    if (graphics.GetLastStatus() != Gdiplus::Ok) return false;
  }
  IStream* raw = nullptr;
  if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &raw))) return false;
  const std::unique_ptr<IStream, StreamRelease> stream(raw);
  return bitmap.Save(stream.get(), &png, nullptr) == Gdiplus::Ok && CopyStream(stream.get(), out);
}

struct EnhMetaFileDelete {
  void operator()(HENHMETAFILE metafile) const { DeleteEnhMetaFile(metafile); }
};

// A metafile of the page's size, drawn in GDI records any reader plays back.
bool WriteEmf(PageSize page, const std::wstring& description, const PagePaint& paint, std::ostream& out) {
  const HDC screen = GetDC(nullptr);
  // The frame is in hundredths of a millimetre; the points map to the reference device's pixels.
  const RECT frame{0, 0, static_cast<LONG>(page.width * 2540.0 / 72.0), static_cast<LONG>(page.height * 2540.0 / 72.0)};
  const HDC dc = CreateEnhMetaFileW(screen, nullptr, &frame, description.c_str());
  const double pixelsPerPoint = GetDeviceCaps(screen, LOGPIXELSX) / 72.0;
  ReleaseDC(nullptr, screen);
  if (dc == nullptr) return false;
  const Gdiplus::Matrix pointsToPixels(static_cast<Gdiplus::REAL>(pixelsPerPoint), 0, 0,
                                       static_cast<Gdiplus::REAL>(pixelsPerPoint), 0, 0);
  const bool painted = PaintPageOnDc(dc, pointsToPixels, page, paint);
  const std::unique_ptr<std::remove_pointer_t<HENHMETAFILE>, EnhMetaFileDelete> metafile(CloseEnhMetaFile(dc));
  if (!painted || !metafile) return false;
  std::vector<BYTE> bytes(GetEnhMetaFileBits(metafile.get(), 0, nullptr));
  if (bytes.empty() || GetEnhMetaFileBits(metafile.get(), static_cast<UINT>(bytes.size()), bytes.data()) == 0) {
    return false;
  }
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return out.good();
}

bool WriteCanvasPage(PageFormat format, PageSize page, const std::wstring& title, const PagePaint& paint,
                     std::ostream& out) {
  const GdiplusSession gdiplus;
  switch (format) {
    case PageFormat::Png:
      return WritePng(page, paint, out);
    case PageFormat::Emf:
      // A metafile's description: the program, a NUL, the picture's title, two NULs.
      return WriteEmf(page, std::wstring(L"zeltool") + L'\0' + title + L'\0' + L'\0', paint, out);
    default:
      return false;
  }
}

}  // namespace

bool WritesPageFormat(PageFormat format) { return format == PageFormat::Png || format == PageFormat::Emf; }

const TextMeasure& PageFileTextMeasure() {
  static const GdiTextMeasure measure;
  return measure;
}

bool WriteReportPage(const ReportContent& report, PageSize page, PageFormat format, std::ostream& out) {
  return WriteCanvasPage(format, page, L"Flight report: " + WideFromUtf8(report.flight),
                         [&](PageCanvas& canvas) { PaintReport(canvas, report, page); }, out);
}

bool WriteComparisonPage(const ComparisonContent& comparison, PageFormat format, std::ostream& out) {
  return WriteCanvasPage(format, kComparisonPage, L"Flights compared",
                         [&](PageCanvas& canvas) { PaintComparison(canvas, comparison); }, out);
}
