#include "document/path/PathListHelpers.h"

#include <cmath>

namespace {

// Widens r to take in p.
void Include(CDoubleRect& r, const CDoublePoint& p) {
  if (p.x < r.left) r.left = p.x;
  if (p.x > r.right) r.right = p.x;
  if (p.y > r.top) r.top = p.y;
  if (p.y < r.bottom) r.bottom = p.y;
}

CDoubleRect PointRect(const CDoublePoint& p) { return CDoubleRect(p.x, p.y, p.x, p.y); }

}  // namespace

CDoubleRect GetPointArrayBoundRect(const CPointList& list) {
  const int n = list.GetSize();
  if (n == 0) return CDoubleRect();
  CDoubleRect r = PointRect(list[0]);
  for (int i = 1; i < n; ++i) Include(r, list[i]);
  return r;
}

CDoubleRect GetTwoListBoundRect(const CPointList& first, const CPointList& second) {
  if (first.GetSize() == 0) return GetPointArrayBoundRect(second);
  CDoubleRect r = GetPointArrayBoundRect(first);
  for (int i = 0; i < second.GetSize(); ++i) Include(r, second[i]);
  return r;
}

CDoubleRect GetDrawnBoundRect(const CPointList& list) {
  CDoubleRect r;
  bool started = false;
  auto take = [&](const CDoublePoint& p) {
    if (!started) {
      r = PointRect(p);
      started = true;
    } else {
      Include(r, p);
    }
  };
  const int n = list.GetSize();
  for (int i = 0; i < n; ++i) {
    if ((list[i].flag & PT_JOINED) == 0) continue;
    if (i > 0) take(list[i - 1]);
    take(list[i]);
  }
  return r;
}

void RotatePointsRad(CPointList& list, const CDoublePoint& centre, double radians) {
  const double c = std::cos(radians);
  const double s = std::sin(radians);
  const double cx = centre.x;  // centre may be a point of the list itself
  const double cy = centre.y;
  const int n = list.GetSize();
  for (int i = 0; i < n; ++i) {
    CDoublePoint& p = list[i];
    const double dx = p.x - cx;
    const double dy = p.y - cy;
    p.x = cx + c * dx - s * dy;
    p.y = cy + s * dx + c * dy;
  }
}

void RotatePointsDeg(CPointList& list, const CDoublePoint& centre, double degrees) {
  RotatePointsRad(list, centre, degrees * DEG_TO_RAD);
}

void RotatePointsDegF(CPointList& list, const CDoublePoint& centre, float degrees) {
  RotatePointsRad(list, centre, static_cast<double>(degrees) * DEG_TO_RAD);
}
