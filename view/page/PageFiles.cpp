#include "view/page/PageFiles.h"

#include <cmath>

PixelSize PngSize(PageSize page) {
  return {static_cast<int>(std::lround(page.width * kPngPixelsPerPoint)),
          static_cast<int>(std::lround(page.height * kPngPixelsPerPoint))};
}
