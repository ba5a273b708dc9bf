#include "document/objects/ParametricShape.h"

#include <cmath>
#include <memory>

#include "document/objects/CObjElement.h"
#include "document/objects/VertexObject.h"
#include "document/path/CStrokeGroup.h"
#include "document/path/PathListHelpers.h"

namespace {

// More turns than this are reduced with fmod instead of turn by turn.
constexpr int kWrapSteps = 64;

}  // namespace

void ApplyMirrorFlags(CPathData& path, std::uint8_t mirrorFlags) {
  if (!(mirrorFlags & (MIRROR_X | MIRROR_Y))) return;
  const CDoubleRect bounds = path.GetPointsBoundRect();
  if (mirrorFlags & MIRROR_X) MirrorVerticesX(path, bounds.CenterX());
  if (mirrorFlags & MIRROR_Y) MirrorVerticesY(path, bounds.CenterY());
}

CDoublePoint CentreShiftToDrawn(const CPointList& drawn, const CPointList& generated) {
  if (drawn.GetSize() == 0 || generated.GetSize() == 0) return CDoublePoint();
  const CDoubleRect want = GetPointArrayBoundRect(drawn);
  const CDoubleRect have = GetPointArrayBoundRect(generated);
  return CDoublePoint(want.CenterX() - have.CenterX(), want.CenterY() - have.CenterY());
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
