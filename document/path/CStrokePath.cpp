#include "document/path/CStrokePath.h"

#include "document/path/PathListHelpers.h"

CStrokePath::CStrokePath(const CPointList& list) : points(list) {}

void CStrokePath::SetHighFlagAll() {
  for (int i = 0; i < points.GetSize(); ++i) points[i].flag |= PT_SELECTED;
  flag = 0;
}

CDoubleRect CStrokePath::GetBoundRect() const { return GetTwoListBoundRect(points, second); }

void CStrokePath::Offset(double dx, double dy) {
  for (int i = 0; i < points.GetSize(); ++i) points[i] += {dx, dy};
  for (int i = 0; i < second.GetSize(); ++i) second[i] += {dx, dy};
}

void CStrokePath::Rotate(const CDoublePoint& centre, double radians) { RotatePointsRad(points, centre, radians); }
