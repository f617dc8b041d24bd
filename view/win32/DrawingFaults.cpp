#include "view/win32/DrawingFaults.h"

#include <atomic>

namespace {

std::atomic<bool> setUpFails{false};
std::atomic<bool> surfacesLost{false};

std::atomic<bool>& Armed(DrawingFault fault) { return fault == DrawingFault::SetUpFails ? setUpFails : surfacesLost; }

}  // namespace

void ArmDrawingFault(DrawingFault fault) { Armed(fault).store(true); }

bool StrikeDrawingFault(DrawingFault fault) { return Armed(fault).exchange(false); }
