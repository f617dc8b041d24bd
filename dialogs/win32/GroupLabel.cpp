#include "dialogs/win32/GroupLabel.h"

#include <objidl.h>
#include <gdiplus.h>

#include <vector>

#include "dialogs/GroupFrameGeometry.h"
#include "dialogs/win32/DialogFace.h"

namespace {

constexpr int kCaptionCapacity = 255;  // wide characters with the terminator

using Gdiplus::Color;
using Gdiplus::Graphics;
using Gdiplus::Rect;

Color ColourOf(COLORREF colour) { return Color(255, GetRValue(colour), GetGValue(colour), GetBValue(colour)); }

std::wstring WindowCaption(HWND window) {
  wchar_t caption[kCaptionCapacity] = {};
  GetWindowTextW(window, caption, kCaptionCapacity);
  return caption;
}

struct ClipWalk {
  HWND label;
  HWND labelParent;
  const std::function<bool(HWND)>* isLabel;
  std::vector<Rect> rects;
};

// The dialog's other controls, as rectangles in the label's client coordinates.
BOOL CALLBACK CollectControl(HWND window, LPARAM walkAddress) {
  auto& walk = *reinterpret_cast<ClipWalk*>(walkAddress);
  if (window == walk.label || GetParent(window) != walk.labelParent || (*walk.isLabel)(window)) return TRUE;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  POINT corner{bounds.left, bounds.top};
  ScreenToClient(walk.label, &corner);
  walk.rects.emplace_back(corner.x, corner.y, bounds.right - bounds.left, bounds.bottom - bounds.top);
  return TRUE;
}

// The pixels of a one-pixel line, so that the final fill leaves it standing.
Rect LineRect(const FrameLine& line) {
  return Rect(line.from.x, line.from.y, line.to.x - line.from.x + 1, line.to.y - line.from.y + 1);
}

}  // namespace

GroupLabel::GroupLabel(HWND window) : window_(window), caption_(WindowCaption(window)) {}

void GroupLabel::Draw(const DRAWITEMSTRUCT& item, HWND dialog, COLORREF face,
                      const std::function<bool(HWND)>& isLabel) const {
  Graphics graphics(item.hDC);
  const HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  const Gdiplus::Font font(item.hDC, dialogFont);
  Gdiplus::FontFamily family;
  font.GetFamily(&family);
  const int style = Gdiplus::FontStyleRegular;
  const float ascent = font.GetSize() * family.GetCellAscent(style) / family.GetEmHeight(style);
  const float descent = font.GetSize() * family.GetCellDescent(style) / family.GetEmHeight(style);
  const int right = item.rcItem.right;
  const int bottom = item.rcItem.bottom;
  Gdiplus::RectF measured;
  graphics.MeasureString(caption_.c_str(), -1, &font, Gdiplus::RectF(0, 0, right, bottom), &measured);
  const GroupFrameGeometry frame = LayOutGroupFrame(right, bottom, ascent, descent, measured.Width);

  ClipWalk walk{window_, GetParent(window_), &isLabel, {}};
  EnumChildWindows(dialog, CollectControl, reinterpret_cast<LPARAM>(&walk));
  for (const Rect& rect : walk.rects) graphics.ExcludeClip(rect);

  const Color faceColour = ColourOf(face);
  if (frame.caption.width > 0) {
    Gdiplus::Bitmap caption(frame.caption.width, frame.caption.height);
    Graphics captionGraphics(&caption);
    captionGraphics.Clear(faceColour);
    const Gdiplus::SolidBrush captionBrush(ColourOf(kGroupCaptionColour));
    captionGraphics.DrawString(caption_.c_str(), -1, &font, Gdiplus::PointF(0, 0), &captionBrush);
    graphics.DrawImage(&caption, frame.caption.origin.x, frame.caption.origin.y);
    graphics.ExcludeClip(Rect(frame.caption.origin.x, frame.caption.origin.y, frame.caption.width, frame.caption.height));
  }

  const Gdiplus::Pen pen(ColourOf(kGroupFrameColour), 1.0f);
  for (const FrameLine& line : frame.lines) {
    graphics.DrawLine(&pen, line.from.x, line.from.y, line.to.x, line.to.y);
    graphics.ExcludeClip(LineRect(line));
  }
  graphics.Clear(faceColour);
  for (const FrameArc& corner : frame.corners) {
    graphics.DrawArc(&pen, corner.box.x, corner.box.y, kFrameCornerBox, kFrameCornerBox, corner.startDegrees,
                     kFrameCornerSweep);
  }
}
