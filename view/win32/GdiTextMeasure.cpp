#include "view/win32/GdiTextMeasure.h"

namespace {

constexpr int kEmPixels = 2048;

HFONT PageFont(bool bold) {
  return CreateFontW(-kEmPixels, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Arial");
}

}  // namespace

GdiTextMeasure::GdiTextMeasure()
    : dc_(CreateCompatibleDC(nullptr)), regular_(PageFont(false)), bold_(PageFont(true)) {}

GdiTextMeasure::~GdiTextMeasure() {
  DeleteDC(dc_);
  DeleteObject(regular_);
  DeleteObject(bold_);
}

TextSize GdiTextMeasure::Measure(const std::string& text, const TextStyle& style) const {
  const HGDIOBJ previous = SelectObject(dc_, style.bold ? bold_ : regular_);
  const std::wstring wide = WideFromUtf8(text);
  SIZE extent{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc_, &metrics);
  SelectObject(dc_, previous);
  const double scale = style.size / kEmPixels;
  return {extent.cx * scale, (metrics.tmAscent + metrics.tmDescent) * scale, metrics.tmAscent * scale};
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}
