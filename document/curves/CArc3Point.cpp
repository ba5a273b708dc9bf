#include "document/curves/CArc3Point.h"

#include <cmath>

#include "document/curves/CSegmentDivider.h"
#include "document/curves/CircleThroughPoints.h"

namespace {

// Angle of p about the centre o on the circle of radius r, 0 .. 2pi.
double AngleOnCircle(const CDoublePoint& p, const CDoublePoint& o, double r, double upper) {
  const double v = (p.y - o.y) / r;
  double a;
  if (v >= upper) {
    a = 1.5707963;
  } else if (v <= -0.9999999) {
    a = -1.5707963;
  } else {
    a = std::asin(v);
  }
  if (p.x < o.x) {
    a = 3.1415926 - a;
  } else if (a < 0) {
    a += 6.2831852;
  }
  return a;
}

}  // namespace

CArc3Point::CArc3Point(CDoublePoint first, CDoublePoint second, CDoublePoint third)
    : firstPoint(first), secondPoint(second), thirdPoint(third) {}

CArc3Point::~CArc3Point() = default;

void CArc3Point::Generate(float step, void* value, int sw) {
  output.RemoveAll();
  callerValue = value;
  callerSwitch = sw;

  CDoublePoint o;
  if (!CircleCentre(firstPoint, secondPoint, thirdPoint, o)) {
    LineFallback(step);
    return;
  }
  const double r = PointDistance(secondPoint, o);
  if (!(r >= 0.02) || !std::isfinite(r)) {
    LineFallback(step);
    return;
  }

  const double a1 = AngleOnCircle(firstPoint, o, r, 0.9999999);
  const double a2 = AngleOnCircle(secondPoint, o, r, 0.9999999);
  const double a3 = AngleOnCircle(thirdPoint, o, r, 0.99999999);

  double start = a1;
  double sweep = a3 - a1;
  if ((a2 - a3) * (a2 - a1) >= 0) {
    // The second point is not between the others: go counter-clockwise, from
    // the third point when its angle is the larger one.
    if (a3 > a1) {
      start = a3;
      sweep = a1 - a3;
    }
    if (sweep < 0) sweep += 6.2831852;
  }

  const double count = std::fabs(sweep) * 1.9098593496814322 + r * 0.125 * 12;
  if (!(count <= kMaxArcPoints)) {
    LineFallback(step);
    return;
  }
  int h = static_cast<int>(count);
  if (h < 4) h = 4;
  const double inc = sweep / (h - 1);
  for (int k = 0; k < h; ++k) {
    const double a = start + k * inc;
    output.Add(CDoublePoint(o.x + std::cos(a) * r, o.y + std::sin(a) * r, 0));
  }
  current = thirdPoint;
}

void CArc3Point::LineFallback(float step) {
  const double d13 = PointDistance(firstPoint, thirdPoint);
  const double d12 = PointDistance(firstPoint, secondPoint);
  const double d23 = PointDistance(secondPoint, thirdPoint);
  CDoublePoint a = firstPoint;
  CDoublePoint b = thirdPoint;
  double taken = d13;
  if (d13 < d12) {
    b = secondPoint;
    taken = d12;
  }
  if (taken < d23) {
    a = secondPoint;
    b = thirdPoint;
  }
  DivideSegment(a, b, step);
}

void CArc3Point::DivideSegment(const CDoublePoint& a, const CDoublePoint& b, float step) {
  CSegmentDivider divider(a, b);
  divider.extraSpacing = extraSpacing;
  divider.Divide(step);
  output.Append(divider.output);
}
