#pragma once
// The live trace drawn at the cost of what changed since the last frame. The
// ground line and the samples are kept on the kept surface, and only the part
// where the newer samples change the stroke is painted again; the back surface
// gets that part, and the labels over it printed again. The picture is the one
// a full redraw gives.
//
// A frame is drawn in full when the surfaces no longer hold the last frame
// (Forget), or when the whole stroke changes: a new size or range, a reset
// trace. Not thread-safe: the graph's drawing lock guards it.
#include <windows.h>

#include <vector>

#include "view/GraphScene.h"
#include "view/win32/GraphSurfaces.h"
#include "view/win32/PolylineUpdate.h"

struct LiveFrame {
  bool full = false;  // drawn from nothing, not from the frame before
  RECT changed{};     // of the back surface; empty when nothing changed
};

class LiveTraceCanvas {
 public:
  // Draws `scene` on the back surface of `surfaces`.
  LiveFrame Draw(GraphSurfaces& surfaces, const LiveScene& scene);
  // Something else was drawn on the back surface, or the surfaces were remade
  // or restored: the next frame is drawn in full.
  void Forget() { holdsFrame_ = false; }

 private:
  LiveFrame DrawInFull(GraphSurfaces& surfaces, const LiveScene& scene);
  LiveFrame Extend(GraphSurfaces& surfaces, const LiveScene& scene, const PolylineUpdate& update);
  // False when the back surface gave no device context.
  bool PrintLabels(GraphSurfaces& surfaces, const RECT& area) const;

  bool holdsFrame_ = false;
  // The last frame: on the kept surface without its labels, on the back
  // surface with them.
  LiveScene drawn_;
  std::vector<RECT> labelBounds_;  // of drawn_.labels
};
