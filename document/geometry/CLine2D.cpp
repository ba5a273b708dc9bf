#include "document/geometry/CLine2D.h"

CLine2D::CLine2D(double s, double i) : slope(s), intercept(i) {}

CLine2D::CLine2D(const CDoublePoint& p1, const CDoublePoint& p2) {
  if (p1.x != p2.x) {
    slope = (p2.y - p1.y) / (p2.x - p1.x);
  } else if (p2.y < p1.y) {
    slope = -VerticalSlope;
  } else if (p2.y == p1.y) {
    slope = 0;
  } else {
    slope = VerticalSlope;
  }
  intercept = p1.y - p1.x * slope;
  bounds.SetFromCorners(p1.x, p1.y, p2.x, p2.y);
  // A flat box would contain nothing strictly; widen it a hair.
  if (bounds.left == bounds.right) {
    bounds.left -= 1e-7;
    bounds.right += 1e-7;
  }
  if (bounds.top == bounds.bottom) {
    bounds.bottom -= 1e-7;
    bounds.top += 1e-7;
  }
}

bool CLine2D::Intersect(const CLine2D& other, CDoublePoint& out, bool verticalMode, double x) const {
  if (slope == other.slope) return false;
  if (verticalMode) {
    out.x = x;
    out.y = slope * x + intercept;
  } else {
    out.x = (intercept - other.intercept) / (other.slope - slope);
    out.y = out.x * other.slope + other.intercept;
  }
  return bounds.PtInRectStrict(out.x, out.y);
}
