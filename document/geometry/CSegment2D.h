#pragma once
// A segment between two points, with its direction kept in step with the ends.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CVector2D.h"

class CSegment2D {
 public:
  CSegment2D() = default;
  CSegment2D(const CDoublePoint& a, const CDoublePoint& b);

  double AngleDeg(const CSegment2D& other) const;  // unsigned, degrees
  CDoublePoint MidPoint() const;
  // On the segment within 0.1 mm of detour (single-precision 0.1).
  bool ContainsPoint(const CDoublePoint& p) const;
  // Crossing of the two carrier lines; in segment mode both segments must
  // contain it.
  bool Intersect(CDoublePoint& out, const CSegment2D& other, bool segmentMode) const;
  // Quarter turn counter-clockwise about the midpoint.
  void RotateAboutMid90();

  CDoublePoint start;
  CDoublePoint end;
  CVector2D dir;
};
