// Handle resize of a text: the points are scaled about the opposite handle
// and the settings follow, so that the next layout comes out the same size.
#include <algorithm>
#include <cmath>

#include "document/objects/HandleResize.h"
#include "text/objects/CObjText.h"

namespace {

bool IsCorner(int handle) { return handle == 0 || handle == 2 || handle == 4 || handle == 6; }

// Arc-arranged text keeps its proportions: the new rectangle is corrected
// and the radius follows the factor used.
void KeepArcProportions(TextSettings& s, const CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  const double oldW = oldRect.Width();
  const double oldH = oldRect.Height();
  if (!(oldW > 0) || !(oldH > 0)) return;
  const double sx = std::fabs(newRect.Width() / oldW);
  const double sy = std::fabs(newRect.Height() / oldH);
  double f = 1.0;
  if (IsCorner(handle)) {
    f = std::max(sx, sy);
    if (sx >= sy) {
      if (handle == 0 || handle == 2) newRect.top = oldRect.bottom + oldH * sx;
      if (handle == 4 || handle == 6) newRect.bottom = oldRect.top - oldH * sx;
    } else {
      if (handle == 0 || handle == 6) newRect.left = oldRect.right - oldW * sy;
      if (handle == 2 || handle == 4) newRect.right = oldRect.left + oldW * sy;
    }
  } else if (handle == 1 || handle == 5) {
    f = sy;
    newRect.left = oldRect.right - oldW * sy;
  } else if (handle == 3 || handle == 7) {
    f = sx;
    newRect.top = oldRect.bottom + oldH * sx;
  } else {
    return;
  }
  s.arcRadius = static_cast<float>(s.arcRadius * f);
}

bool IsUpright(float rotation) {
  const bool turned = (rotation > 45 && rotation < 135) || (rotation > 225 && rotation < 315);
  return !turned;
}

}  // namespace

void CObjText::ResizeToRect(CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
  Changed();
  const bool onArc = s_.arcRadius != 0;
  if (onArc && handle >= 0 && handle <= 7) KeepArcProportions(s_, oldRect, newRect, handle);
  HandleResizePlan plan = PlanHandleResize(oldRect, newRect, handle);
  if (plan.scale && onArc && oldRect.Width() > 0 && oldRect.Height() > 0) {
    if (handle == 1 || handle == 5) plan.sx = newRect.Width() / oldRect.Width();
    if (handle == 3 || handle == 7) plan.sy = newRect.Height() / oldRect.Height();
    if (!std::isfinite(plan.sx) || !std::isfinite(plan.sy)) plan.scale = false;
  }
  if (plan.scale) {
    const double sx = plan.sx;
    const double sy = plan.sy;
    s_.resizeAlong = 1.0;
    s_.resizeAcross = 1.0;
    path_.ScaleAbout(plan.anchor, sx, sy);
    s_.position.x = plan.anchor.x + (s_.position.x - plan.anchor.x) * sx;
    s_.position.y = plan.anchor.y + (s_.position.y - plan.anchor.y) * sy;
    const bool middleTopBottom = handle == 1 || handle == 5;
    const bool middleSide = handle == 3 || handle == 7;
    if (IsUpright(s_.rotation)) {
      s_.resizeAlong = sx;
      s_.resizeAcross = sy;
      if (IsCorner(handle)) s_.charHeight = static_cast<float>(s_.charHeight * sy);
      if (middleTopBottom) {
        s_.charHeight = static_cast<float>(s_.charHeight * sy);
        s_.aspectRatio /= sy;
      }
      if (middleSide) s_.aspectRatio *= sx;
    } else {
      s_.resizeAlong = sy;
      s_.resizeAcross = sx;
      if (IsCorner(handle)) s_.charHeight = static_cast<float>(s_.charHeight * sx);
      if (middleTopBottom) s_.heightRatio *= sy;
      if (middleSide) {
        s_.charHeight = static_cast<float>(s_.charHeight * sx);
        s_.heightRatio /= sx;
      }
    }
    if (!(s_.aspectRatio >= 0.0001) || !std::isfinite(s_.aspectRatio)) s_.aspectRatio = 1.0;
    if (!(s_.heightRatio >= 0.0001) || !std::isfinite(s_.heightRatio)) s_.heightRatio = 1.0;
    RecalcPath();
  } else {
    Offset(plan.dx, plan.dy);
  }
  const CDoubleRect bounds = path_.GetBoundRect();
  newRect = bounds;
  oldRect = bounds;

  if (s_.fixedCharWidth >= 0.001f && !(s_.arcRadius > 0.1f)) {
    const double n = static_cast<double>(s_.text.size()) + (s_.starMode != 0 ? 2 : 0);
    // An empty text has no character to share the width among.
    if (n >= 1) s_.fixedCharWidth = static_cast<float>((bounds.Width() - (n - 1) * s_.charSpacing) / n);
  }
}
