#pragma once
// An infinite line y = slope * x + intercept, remembering the box of the edge
// it was built from so that intersections can be restricted to that edge.
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CDoublePoint.h"

// Slope that stands for a vertical line (and an infinite distance).
constexpr double VerticalSlope = 4e298;

class CLine2D {
 public:
  CLine2D() = default;
  CLine2D(double slope, double intercept);
  CLine2D(const CDoublePoint& p1, const CDoublePoint& p2);
  virtual ~CLine2D() = default;

  // False for equal slopes. In vertical mode the other line is x = const
  // (the x argument). True only when the crossing lies strictly inside this
  // line's box.
  bool Intersect(const CLine2D& other, CDoublePoint& out, bool verticalMode, double x) const;

  double slope = 0;
  double intercept = 0;
  CDoubleRect bounds;
};
