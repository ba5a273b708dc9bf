#include "document/curves/CSegmentDivider.h"

#include <cmath>

CSegmentDivider::CSegmentDivider(const CDoublePoint& start, const CDoublePoint& end) : startPoint(start), endPoint(end) {}

CSegmentDivider::~CSegmentDivider() = default;

void CSegmentDivider::Divide(float step) {
  output.RemoveAll();
  DivideEx(step, 1);
}

void CSegmentDivider::DivideEx(float step, int rounding) {
  const double length = PointDistance(startPoint, endPoint);
  if (length > 0) {
    const double ex = endPoint.x - startPoint.x;
    const double ey = endPoint.y - startPoint.y;
    const CDoublePoint a(startPoint.x + ex * startTrim / length, startPoint.y + ey * startTrim / length,
                         startPoint.flag);
    const CDoublePoint b(endPoint.x - ex * endTrim / length, endPoint.y - ey * endTrim / length, endPoint.flag);
    startPoint = a;
    endPoint = b;
  }

  double v = static_cast<double>(step) + static_cast<double>(extraSpacing);
  const double u = PointDistance(startPoint, endPoint);
  double count = 0;
  if (v > 0 && std::isfinite(u)) {
    count = std::floor(u / v);
    if (count > kMaxSegmentDivisions) {
      count = kMaxSegmentDivisions;
      v = u / count;
    }
  }
  int w = static_cast<int>(count);
  if (rounding && w > 0) {
    if (v <= 2 * (u - v * w)) ++w;
    v = u / w;
  }

  const double dx = endPoint.x - startPoint.x;
  const double dy = endPoint.y - startPoint.y;
  for (int i = 0; i <= w; ++i) {
    // The start itself for i = 0, also for a segment of no length.
    const double t = i == 0 ? 0.0 : i * v / u;
    output.Add(CDoublePoint(startPoint.x + t * dx, startPoint.y + t * dy, current.flag));
  }
}
