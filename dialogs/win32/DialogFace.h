#pragma once
// The colours every tool dialog wears.
#include <windows.h>

constexpr COLORREF kDialogFace = RGB(196, 222, 255);
constexpr COLORREF kStatusBoxFace = RGB(255, 255, 255);
constexpr COLORREF kGroupCaptionColour = RGB(160, 82, 45);
constexpr COLORREF kGroupFrameColour = RGB(210, 180, 140);
