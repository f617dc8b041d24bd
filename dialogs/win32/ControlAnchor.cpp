#include "dialogs/win32/ControlAnchor.h"

ControlAnchor::ControlAnchor(HWND control, AnchorEdges edges)
    : control_(control), parent_(GetParent(control)), edges_(edges), geometry_(GeometryOf(control, parent_, edges)) {}

void ControlAnchor::Retake() { geometry_ = GeometryOf(control_, parent_, edges_); }

AnchorGeometry ControlAnchor::GeometryOf(HWND control, HWND parent, AnchorEdges edges) {
  RECT bounds{};
  GetWindowRect(control, &bounds);
  MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&bounds), 2);
  RECT client{};
  GetClientRect(parent, &client);
  const ControlRect rect{bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top};
  return AnchorGeometry(rect, edges, client.right, client.bottom);
}

HDWP ControlAnchor::Apply(HDWP positions, int parentWidth, int parentHeight) {
  const AnchorMove move = geometry_.Follow(parentWidth, parentHeight);
  UINT flags = SWP_NOZORDER;
  if (!move.moves) flags |= SWP_NOMOVE;
  if (!move.resizes) flags |= SWP_NOSIZE;
  if (positions == nullptr) return nullptr;
  return DeferWindowPos(positions, control_, nullptr, move.rect.x, move.rect.y, move.rect.width, move.rect.height,
                        flags);
}
