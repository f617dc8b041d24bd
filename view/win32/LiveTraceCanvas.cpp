#include "view/win32/LiveTraceCanvas.h"

#include <algorithm>

#include "view/GraphColours.h"
#include "view/win32/GraphPainter.h"

namespace {

bool Intersects(const RECT& a, const RECT& b) {
  RECT overlap;
  return IntersectRect(&overlap, &a, &b) != FALSE;
}

RECT Union(const RECT& a, const RECT& b) {
  RECT joined;
  UnionRect(&joined, &a, &b);
  return joined;
}

RECT RectOf(const PixelBox& box) { return box.Empty() ? RECT{} : RECT{box.left, box.top, box.right, box.bottom}; }

std::vector<RECT> MeasureLabels(HDC dc, const LiveScene& scene) {
  std::vector<RECT> bounds;
  for (const GraphLabel& label : scene.labels) bounds.push_back(LabelBounds(dc, label, scene.style));
  return bounds;
}

// Text edges are blended with what lies under them: a label printed again has
// to be printed over the kept picture alone, so `area` takes in every label it
// touches, and then every label those touch.
RECT CoverLabels(RECT area, const std::vector<RECT>& labels) {
  for (bool grown = true; grown;) {
    grown = false;
    for (const RECT& label : labels) {
      if (!Intersects(area, label)) continue;
      const RECT joined = Union(area, label);
      grown = grown || !EqualRect(&joined, &area);
      area = joined;
    }
  }
  return area;
}

RECT WholeOf(const GraphSurfaces& surfaces) {
  const SIZE size = surfaces.BackSize();
  return {0, 0, size.cx, size.cy};
}

// Without a kept surface every frame is drawn whole on the back surface.
void DrawWithoutKeeping(GraphSurfaces& surfaces, const LiveScene& scene) {
  surfaces.Fill(kLiveTraceBackground);
  const SurfaceDc back(surfaces.BackSurface());
  if (back.Get()) PaintLiveScene(back.Get(), scene);
}

}  // namespace

LiveFrame LiveTraceCanvas::Draw(GraphSurfaces& surfaces, const LiveScene& scene) {
  if (!holdsFrame_ || !(scene.style == drawn_.style) || scene.width != drawn_.width ||
      scene.groundY != drawn_.groundY) {
    return DrawInFull(surfaces, scene);
  }
  // A new range or size moves every point and a reset trace starts again; new
  // samples change at most the last point drawn. The peak label changes as the
  // peak rises, which gives a new range anyway.
  const PolylineUpdate update = UpdateOfPolyline(drawn_.samples, scene.samples, StrokeReach(scene.style.seriesWidth));
  const bool continues =
      update.sharedPoints + 1 >= drawn_.samples.size() && update.firstPoint > 0 && drawn_.labels == scene.labels;
  return continues ? Extend(surfaces, scene, update) : DrawInFull(surfaces, scene);
}

LiveFrame LiveTraceCanvas::DrawInFull(GraphSurfaces& surfaces, const LiveScene& scene) {
  holdsFrame_ = false;
  const RECT whole = WholeOf(surfaces);
  if (!surfaces.KeptSurface()) {
    DrawWithoutKeeping(surfaces, scene);
    return {true, whole};
  }
  surfaces.FillKept(kLiveTraceBackground);
  bool painted = false;
  {
    const SurfaceDc kept(surfaces.KeptSurface());
    if (kept.Get()) {
      PaintLiveLayer(kept.Get(), scene);
      labelBounds_ = MeasureLabels(kept.Get(), scene);
      painted = true;
    }
  }
  surfaces.CopyKeptToBack(whole);
  drawn_ = scene;
  holdsFrame_ = painted && PrintLabels(surfaces, whole);
  return {true, whole};
}

LiveFrame LiveTraceCanvas::Extend(GraphSurfaces& surfaces, const LiveScene& scene, const PolylineUpdate& update) {
  const RECT stroked = RectOf(update.area);
  if (!IsRectEmpty(&stroked)) {
    surfaces.FillKept(kLiveTraceBackground, &stroked);
    const SurfaceDc kept(surfaces.KeptSurface());
    if (!kept.Get()) {
      holdsFrame_ = false;
      return {};
    }
    PaintLiveLayerArea(kept.Get(), scene, stroked, update.firstPoint);
  }
  const RECT area = CoverLabels(stroked, labelBounds_);
  const RECT whole = WholeOf(surfaces);
  RECT changed{};
  if (IntersectRect(&changed, &area, &whole)) surfaces.CopyKeptToBack(changed);
  drawn_ = scene;
  holdsFrame_ = PrintLabels(surfaces, area);
  return {false, changed};
}

bool LiveTraceCanvas::PrintLabels(GraphSurfaces& surfaces, const RECT& area) const {
  std::vector<GraphLabel> touched;
  for (size_t i = 0; i < labelBounds_.size(); ++i) {
    if (Intersects(labelBounds_[i], area)) touched.push_back(drawn_.labels[i]);
  }
  if (touched.empty()) return true;
  const SurfaceDc back(surfaces.BackSurface());
  if (!back.Get()) return false;
  PaintLabels(back.Get(), touched, drawn_.style);
  return true;
}
