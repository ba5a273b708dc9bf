#include "document/curves/CircleThroughPoints.h"

#include "document/geometry/CSegment2D.h"

bool CircleCentre(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3, CDoublePoint& centre) {
  CSegment2D b1(p1, p2);
  CSegment2D b2(p2, p3);
  b1.RotateAboutMid90();
  b2.RotateAboutMid90();
  return b1.Intersect(centre, b2, false);
}
