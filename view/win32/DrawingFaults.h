#pragma once
// DirectDraw failures that cannot be caused at will, for tests: each one armed
// strikes once, at its next chance. Nothing in the program itself arms them.
#include <cstdint>

#include "view/PixelColour.h"

enum class DrawingFault : uint32_t {
  SetUpFails = 1,    // the next creation of the surfaces fails
  SurfacesLost = 2,  // the next present finds both surfaces lost
};

// What a lost surface holds is undefined; the simulated loss leaves this
// colour, which no view uses.
constexpr Rgb kLostSurfaceContent{255, 0, 255};

// Any thread.
void ArmDrawingFault(DrawingFault fault);
// True once per arming: the caller then fails as the fault says.
bool StrikeDrawingFault(DrawingFault fault);
