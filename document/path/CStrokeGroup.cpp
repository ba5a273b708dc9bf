#include "document/path/CStrokeGroup.h"

#include <memory>

#include "document/path/PathListHelpers.h"

namespace {

bool HasJoinedPoint(const CPointList& list) {
  for (int i = 0; i < list.GetSize(); ++i)
    if (list[i].flag & PT_JOINED) return true;
  return false;
}

}  // namespace

CStrokeGroup::CStrokeGroup(const CPointList& list) { paths.Add(std::make_unique<CStrokePath>(list)); }

int CStrokeGroup::AddPointList(const CPointList& list) { return paths.Add(std::make_unique<CStrokePath>(list)); }

void CStrokeGroup::DeleteAt(int i) { paths.RemoveAt(i); }

void CStrokeGroup::RemoveAllLists() { paths.RemoveAll(); }

// A contour that draws nothing has no extent; taking its zero rectangle into
// the union would stretch the bounds to the origin.
CDoubleRect CStrokeGroup::GetListsBoundRect() const {
  BoundsUnion bounds;
  for (int i = 0; i < GetCount(); ++i) {
    const CPointList& list = GetAt(i)->points;
    if (HasJoinedPoint(list)) bounds.Add(GetDrawnBoundRect(list));
  }
  return bounds.Rect();
}

CDoubleRect CStrokeGroup::GetBoundRect() const {
  BoundsUnion bounds;
  for (int i = 0; i < GetCount(); ++i) {
    const CStrokePath& path = *GetAt(i);
    if (path.HasPoints()) bounds.Add(path.GetBoundRect());  // an empty contour has no extent
  }
  return bounds.Rect();
}

void CStrokeGroup::RotateDeg(const CDoublePoint& centre, float degrees) {
  const CDoublePoint c = centre;  // centre may lie in one of the lists
  for (int i = 0; i < GetCount(); ++i) RotatePointsDegF(GetAt(i)->points, c, degrees);
}

void CStrokeGroup::RotateRad(const CDoublePoint& centre, double radians) {
  const CDoublePoint c = centre;
  for (int i = 0; i < GetCount(); ++i) RotatePointsRad(GetAt(i)->points, c, radians);
  RotatePointsRad(fill, c, radians);
}

void CStrokeGroup::Offset(double dx, double dy) {
  for (int i = 0; i < GetCount(); ++i) GetAt(i)->Offset(dx, dy);
  for (int i = 0; i < fill.GetSize(); ++i) fill[i] += {dx, dy};
}

void CStrokeGroup::SnapToGrid(double xStep, double yStep) {
  for (int i = 0; i < GetCount(); ++i) GetAt(i)->points.SnapToGrid(xStep, yStep);
  fill.SnapToGrid(xStep, yStep);
}
