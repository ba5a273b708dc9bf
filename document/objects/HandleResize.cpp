#include "document/objects/HandleResize.h"

#include <cmath>

namespace {

// A side this short (mm) has no usable scale factor.
constexpr double kMinScalableSide = 0.2;

}  // namespace

HandleResizePlan PlanHandleResize(const CDoubleRect& oldRect, const CDoubleRect& newRect, int handle) {
  HandleResizePlan plan;
  plan.dx = newRect.CenterX() - oldRect.CenterX();
  plan.dy = newRect.CenterY() - oldRect.CenterY();
  if (!std::isfinite(plan.dx) || !std::isfinite(plan.dy)) {
    // A rectangle that is not a rectangle would spread NaN through the points.
    plan.dx = plan.dy = 0;
    return plan;
  }
  if (handle < 0 || handle > 7) return plan;

  const double oldW = oldRect.Width();
  const double oldH = oldRect.Height();
  switch (handle) {
    case 0:
    case 2:
    case 4:
    case 6:
      if (!(oldW > kMinScalableSide && oldH > kMinScalableSide)) return plan;
      plan.sx = newRect.Width() / oldW;
      plan.sy = newRect.Height() / oldH;
      break;
    case 1:
    case 5:
      if (!(oldH > kMinScalableSide)) return plan;
      plan.sx = 1.0;
      plan.sy = newRect.Height() / oldH;
      break;
    default:  // 3, 7
      if (!(oldW > kMinScalableSide)) return plan;
      plan.sx = newRect.Width() / oldW;
      plan.sy = 1.0;
      break;
  }
  if (!std::isfinite(plan.sx) || !std::isfinite(plan.sy)) return plan;
  plan.scale = true;
  plan.anchor = oldRect.GetHandlePoint((handle + 4) % 8);
  return plan;
}
