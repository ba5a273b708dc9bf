#pragma once
// What the parametric objects (arc and multi-border) share. They keep a centre
// and their shape parameters and regenerate their points from them; moving and
// rotating transform points and parameters together, and the mirror flags are
// re-applied at every generation.
#include <cstdint>

#include "document/geometry/CDoublePoint.h"
#include "document/path/CPathData.h"

// Mirror flag bits of the parametric objects.
constexpr std::uint8_t MIRROR_X = 0x08;  // mirrored in x (about a vertical line)
constexpr std::uint8_t MIRROR_Y = 0x10;  // mirrored in y (about a horizontal line)

// A full turn in radians, as the stored layouts were computed with it.
constexpr double kParamFullTurn = 6.2831852;

// Exactly one of the two mirror bits: the generated shape is a reflection, so
// a rotation of the drawn shape turns its parameters the other way.
constexpr bool IsReflected(std::uint8_t mirrorFlags) {
  return ((mirrorFlags & MIRROR_X) != 0) != ((mirrorFlags & MIRROR_Y) != 0);
}

// Mirrors the main list as the flags ask, about the centre of its bounds: in x
// for MIRROR_X, then in y for MIRROR_Y. Stored layouts were drawn this way, so
// every regeneration (reading a file included) mirrors exactly so.
void ApplyMirrorFlags(CPathData& path, std::uint8_t mirrorFlags);

// Mirroring about the bounds' centre keeps the bounds of the unmirrored
// generation, and those hang on the stored centre, not on the shape drawn.
// This is how far the stored centre must move so that the shape regenerated
// from it covers the bounds the drawn points cover; `generated` is the
// unmirrored generation from the current parameters. Zero when either list is
// empty.
CDoublePoint CentreShiftToDrawn(const CPointList& drawn, const CPointList& generated);

// Rotates a point about o by a radians, counter-clockwise.
void RotatePointAbout(CDoublePoint& p, const CDoublePoint& o, double radians);

class CStrokeGroup;

// The owner element's fill settings, as a rebuild of the stroke groups uses them.
struct OutlineFill {
  int discardBorder = 0;
  int fillOn = 0;
  float angle = 0;
  float spacing = 0;

  // Hatches the group when fill is on, then drops its contours when the
  // border is discarded.
  void ApplyTo(CStrokeGroup& group) const;
};

// Starts a rebuild of the stroke groups: drops them all and reads the owner's
// fill settings. False without an owner element; the path then has no groups.
bool BeginFillRebuild(CPathData& path, OutlineFill& fill);

// The stroke groups of a closed or open outline: none without an owner
// element, else one group from the main list, hatched and bordered by the
// owner's fill settings.
void RebuildOutlineFill(CPathData& path);

// Angle fields in degrees, brought back by whole turns. A huge value is reduced
// at once, so it cannot spin for ever; a value that is not a number becomes 0.
double WrapDegreesHalfOpen(double degrees);  // into [0, 360): polygon start angle
double WrapDegreesOpen(double degrees);      // into (-360, 360): arc rotation
