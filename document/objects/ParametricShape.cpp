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

void OutlineFill::ApplyTo(CStrokeGroup& group) const {
  if (fillOn) group.HatchFill(angle, spacing);
  if (discardBorder) group.RemoveAllLists();
}

bool BeginFillRebuild(CPathData& path, OutlineFill& fill) {
  CObjElement* owner = path.GetOwner();
  path.RemoveAllGroups();
  if (!owner) return false;
  owner->GetFillParams(fill.discardBorder, fill.fillOn, fill.angle, fill.spacing);
  return true;
}

void RebuildOutlineFill(CPathData& path) {
  OutlineFill fill;
  if (!BeginFillRebuild(path, fill)) return;
  CPointList outline;
  path.CopyPointsTo(outline);
  if (auto group = NewHatchGroup(outline, fill.discardBorder != 0, fill.fillOn != 0, fill.angle, fill.spacing)) {
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
