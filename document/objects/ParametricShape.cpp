#include "document/objects/ParametricShape.h"

#include <cmath>
#include <memory>

#include "document/objects/CObjElement.h"
#include "document/path/CStrokeGroup.h"

namespace {

// More turns than this are reduced with fmod instead of turn by turn.
constexpr int kWrapSteps = 64;

}  // namespace

void ApplyMirrorFlags(CPathData& path, std::uint8_t mirrorFlags, const CDoublePoint& centre) {
  const double cx = centre.x;
  const double cy = centre.y;
  if (mirrorFlags & MIRROR_X) {
    for (int i = 0; i < path.points.GetSize(); ++i) path.points[i].x = 2 * cx - path.points[i].x;
  }
  if (mirrorFlags & MIRROR_Y) {
    for (int i = 0; i < path.points.GetSize(); ++i) path.points[i].y = 2 * cy - path.points[i].y;
  }
}

void RotatePointAbout(CDoublePoint& p, const CDoublePoint& o, double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double dx = p.x - o.x;
  const double dy = p.y - o.y;
  p.x = o.x + c * dx - s * dy;
  p.y = o.y + s * dx + c * dy;
}

void RebuildOutlineFill(CPathData& path) {
  CObjElement* owner = path.GetOwner();
  path.RemoveAllGroups();
  if (!owner) return;
  int discardBorder = 0;
  int fillOn = 0;
  float angle = 0;
  float spacing = 0;
  owner->GetFillParams(discardBorder, fillOn, angle, spacing);
  CPointList outline;
  path.CopyPointsTo(outline);
  if (auto group = NewHatchGroup(outline, discardBorder != 0, fillOn != 0, angle, spacing)) {
    path.GetGroupArray().Add(std::move(group));
  }
}

double WrapDegreesHalfOpen(double degrees) {
  if (!std::isfinite(degrees)) return 0;
  for (int i = 0; i < kWrapSteps && (degrees >= 360 || degrees < 0); ++i) {
    degrees += degrees >= 360 ? -360 : 360;
  }
  if (degrees >= 360 || degrees < 0) {
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0) degrees += 360;
  }
  // A tiny negative angle plus a turn rounds to 360 itself.
  return degrees >= 360 ? 0 : degrees;
}

double WrapDegreesOpen(double degrees) {
  if (!std::isfinite(degrees)) return 0;
  for (int i = 0; i < kWrapSteps && (degrees >= 360 || degrees <= -360); ++i) {
    degrees += degrees >= 360 ? -360 : 360;
  }
  if (degrees >= 360 || degrees <= -360) degrees = std::fmod(degrees, 360.0);
  return degrees;
}
