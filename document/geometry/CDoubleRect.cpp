#include "document/geometry/CDoubleRect.h"

#include <algorithm>
#include <cmath>
#include <limits>

int RoundHalfUp(double x) {
  // Out-of-range and non-finite values would make the int conversion
  // undefined; they end up at the nearest representable pixel instead.
  if (std::isnan(x)) return 0;
  constexpr double kMax = std::numeric_limits<int>::max();
  constexpr double kMin = std::numeric_limits<int>::min();
  if (x >= kMax) return std::numeric_limits<int>::max();
  if (x <= kMin) return std::numeric_limits<int>::min();
  double t = std::trunc(x);
  int result = static_cast<int>(t);
  if (x - t >= 0.5) ++result;
  return result;
}

void CDoubleRect::SetRect(float l, float t, float r, float b) {
  left = l;
  top = t;
  right = r;
  bottom = b;
}

void CDoubleRect::SetFromCorners(double x1, double y1, double x2, double y2) {
  left = std::min(x1, x2);
  top = std::max(y1, y2);
  right = std::max(x1, x2);
  bottom = std::min(y1, y2);
}

bool CDoubleRect::PtInRectTol(double x, double y) const {
  return left - 0.1 <= x && x <= right + 0.1 && bottom - 0.1 <= y && y <= top + 0.1;
}

bool CDoubleRect::PtInRectStrict(double x, double y) const {
  return left < x && x < right && bottom < y && y < top;
}

CDoubleRect CDoubleRect::InflateRect(int n) {
  left -= n;
  top += n;
  right += n;
  bottom -= n;
  return *this;
}

CDoubleRect CDoubleRect::OffsetRect(double dx, double dy) {
  left += dx;
  right += dx;
  top += dy;
  bottom += dy;
  return *this;
}

CDoubleRect CDoubleRect::UnionRect(const CDoubleRect& other) {
  left = std::min(left, other.left);
  top = std::max(top, other.top);
  right = std::max(right, other.right);
  bottom = std::min(bottom, other.bottom);
  return *this;
}

bool CDoubleRect::IsWithin(const CDoubleRect& o) const {
  return left >= o.left && top <= o.top && right <= o.right && bottom >= o.bottom;
}

double CDoubleRect::Width() const { return std::fabs(right - left); }
double CDoubleRect::Height() const { return std::fabs(top - bottom); }

CDoublePoint CDoubleRect::GetHandlePoint(int i) const {
  switch (i) {
    case 0: return CDoublePoint(left, top, 0);
    case 1: return CDoublePoint(CenterX(), top, 0);
    case 2: return CDoublePoint(right, top, 0);
    case 3: return CDoublePoint(right, CenterY(), 0);
    case 4: return CDoublePoint(right, bottom, 0);
    case 5: return CDoublePoint(CenterX(), bottom, 0);
    case 6: return CDoublePoint(left, bottom, 0);
    case 7: return CDoublePoint(left, CenterY(), 0);
    case 8: return CDoublePoint(CenterX(), CenterY(), 0);
    default: return CDoublePoint(0, 0, 0);
  }
}

CDeviceRect CDoubleRect::ToDeviceRect(double sx, double sy, int ox, int oy, double zoom) const {
  CDeviceRect r;
  r.left = ox + RoundHalfUp(sx * left * zoom);
  r.top = oy - RoundHalfUp(zoom * (sy * top));
  r.right = ox + RoundHalfUp(zoom * (sx * right));
  r.bottom = oy - RoundHalfUp(zoom * (sy * bottom));
  return r;
}
