#include "document/geometry/CVector2D.h"

#include <cmath>

double CVector2D::Length() const { return std::sqrt(dx * dx + dy * dy); }

double CVector2D::AngleTo(const CVector2D& other) const {
  double l = Length() * other.Length();
  if (l <= static_cast<double>(0.0001f)) return 0;
  double c = (dx * other.dx + dy * other.dy) / l;
  if (c <= -1) return 3.1415926;
  if (c >= 1) return 0;
  return std::acos(c);
}
