#pragma once
// What to redraw of a wide polyline stroked before so that it shows a newer
// one, without stroking the newer one whole. A stroke's pixels are not the
// union of its segments' pixels: where two segments meet, the joint takes in
// or leaves out pixels that a stroke ending there would not. So the pixels
// that differ are repainted from the background, and the newer polyline is
// stroked over them from a point far enough back that its own start changes
// none of them. Portable: no drawing API.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "view/GraphMapping.h"
#include "view/PixelBox.h"

struct PolylineUpdate {
  // How many points from the start the two polylines share.
  size_t sharedPoints = 0;
  // Every pixel whose stroke of `drawn` and of `now` may differ; empty when
  // nothing does.
  PixelBox area;
  // Stroked from this point on and clipped to `area`, `now` gives there the
  // pixels its whole stroke gives; now.size() when none of it reaches `area`.
  size_t firstPoint = 0;
};

// `reach`: how far from its points a stroke sets pixels, joints and ends
// included.
PolylineUpdate UpdateOfPolyline(const std::vector<GraphPoint>& drawn, const std::vector<GraphPoint>& now,
                                int32_t reach);
