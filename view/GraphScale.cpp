#include "view/GraphScale.h"

#include <cmath>

int32_t GraphScale::Pixels(int32_t basePixels) const {
  return static_cast<int32_t>(std::lround(static_cast<double>(basePixels) * dpi_ / kBaseDpi));
}

float GraphScale::Width(float basePixels) const { return basePixels * static_cast<float>(dpi_) / kBaseDpi; }
