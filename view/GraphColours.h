#pragma once
// The graph's colours, whichever painter draws it: the pens and brushes of the
// scene's colours and the backgrounds of the two views.
#include "view/GraphScene.h"
#include "view/PixelColour.h"

constexpr Rgb kDataSetBackground{180, 180, 255};
constexpr Rgb kLiveTraceBackground{128, 128, 128};

constexpr Rgb RgbOf(GraphColour colour) {
  switch (colour) {
    case GraphColour::Red:
      return {255, 0, 0};
    case GraphColour::Green:
      return {0, 128, 0};
    case GraphColour::Blue:
      break;
  }
  return {0, 0, 255};
}
