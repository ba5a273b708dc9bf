#pragma once
// A 2-D direction in millimetres.
#include "document/geometry/CDoublePoint.h"

struct CVector2D {
  double dx = 0;
  double dy = 0;

  CVector2D() = default;
  CVector2D(double x, double y) : dx(x), dy(y) {}
  static CVector2D FromPoints(const CDoublePoint& a, const CDoublePoint& b) { return CVector2D(b.x - a.x, b.y - a.y); }

  double Length() const;
  // Unsigned angle in radians, 0 ... 3.1415926; 0 when either vector is
  // (nearly) zero.
  double AngleTo(const CVector2D& other) const;
};
