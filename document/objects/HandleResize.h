#pragma once
// The rule every vertex and parametric object follows when the user drags one
// of the eight handles of its bounding rectangle (or moves it, code 128).
//
// Handle codes: 0 left-top, 1 top middle, 2 right-top, 3 right middle,
// 4 right-bottom, 5 bottom middle, 6 left-bottom, 7 left middle, 128 move only.
// The object is scaled about the handle point opposite the dragged one; a side
// of 0.2 mm or less cannot be scaled, so such objects are moved instead.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"

constexpr int HANDLE_MOVE_ONLY = 128;

struct HandleResizePlan {
  bool scale = false;   // true: scale about anchor by (sx, sy); false: move by (dx, dy)
  CDoublePoint anchor;  // opposite handle point of the old rectangle
  double sx = 1.0;
  double sy = 1.0;
  double dx = 0;        // centre shift, used when not scaling
  double dy = 0;
};

// Works out what a drag from oldRect to newRect by the handle asks for.
// Codes other than 0..7 are treated like 128 (move only).
HandleResizePlan PlanHandleResize(const CDoubleRect& oldRect, const CDoubleRect& newRect, int handle);

// Applies the rule: calls move(dx, dy) or scale(anchor, sx, sy), then bounds()
// and writes its result into newRect and then oldRect. Objects pass their own
// offset, scaling (with their rebuild) and bounds operations. Note the order:
// objects take (old, new, handle); the element's Resize takes (new, old, handle).
template <class MoveFn, class ScaleFn, class BoundsFn>
void ApplyHandleResize(CDoubleRect& oldRect, CDoubleRect& newRect, int handle, MoveFn&& move, ScaleFn&& scale,
                       BoundsFn&& bounds) {
  const HandleResizePlan plan = PlanHandleResize(oldRect, newRect, handle);
  if (plan.scale) {
    scale(plan.anchor, plan.sx, plan.sy);
  } else {
    move(plan.dx, plan.dy);
  }
  const CDoubleRect result = bounds();
  newRect = result;
  oldRect = result;
}
