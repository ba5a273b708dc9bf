#include "document/geometry/CSegment2D.h"

#include <cmath>

CSegment2D::CSegment2D(const CDoublePoint& a, const CDoublePoint& b)
    : start(a), end(b), dir(CVector2D::FromPoints(a, b)) {}

double CSegment2D::AngleDeg(const CSegment2D& other) const { return dir.AngleTo(other.dir) * 57.295779; }

CDoublePoint CSegment2D::MidPoint() const { return CDoublePoint((start.x + end.x) / 2, (start.y + end.y) / 2, 0); }

bool CSegment2D::ContainsPoint(const CDoublePoint& p) const {
  double detour = PointDistance(p, end) + PointDistance(p, start) - PointDistance(start, end);
  return std::fabs(detour) <= static_cast<double>(0.1f);
}

bool CSegment2D::Intersect(CDoublePoint& out, const CSegment2D& other, bool segmentMode) const {
  double a = dir.dy, b = dir.dx;
  double c = other.dir.dx, d = other.dir.dy;
  double e = b * d - a * c;
  double parallel = segmentMode ? static_cast<double>(0.00001f) : 1e-16;
  if (std::fabs(e) <= parallel) return false;
  double k1 = a * start.x - b * start.y;
  out.x = k1 * (-c / e) + (d * other.start.x - c * other.start.y) * (b / e);
  out.y = (other.start.x * d - other.start.y * c) * (a / e) + k1 * (-d / e);
  if (!segmentMode) return true;
  return ContainsPoint(out) && other.ContainsPoint(out);
}

void CSegment2D::RotateAboutMid90() {
  double mx = (start.x + end.x) / 2, my = (start.y + end.y) / 2;
  CDoublePoint s(mx - (start.y - my), my + (start.x - mx), start.flag);
  CDoublePoint e(mx - (end.y - my), my + (end.x - mx), end.flag);
  start = s;
  end = e;
  dir = CVector2D::FromPoints(start, end);
}
