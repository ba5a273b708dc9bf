#include "document/path/CStrokeGroup.h"

#include <memory>

#include "document/path/PathListHelpers.h"

namespace {

bool HasPoints(const CStrokePath& path) { return path.points.GetSize() > 0 || path.second.GetSize() > 0; }

bool HasJoinedPoint(const CPointList& list) {
  for (int i = 0; i < list.GetSize(); ++i)
    if (list[i].flag & PT_JOINED) return true;
  return false;
}

}  // namespace

CStrokeGroup::CStrokeGroup(const CPointList& list) { paths.Add(std::make_unique<CStrokePath>(list)); }

CStrokeGroup::~CStrokeGroup() {
  paths.RemoveAll();
  fill.RemoveAll();
}

int CStrokeGroup::AddPointList(const CPointList& list) { return paths.Add(std::make_unique<CStrokePath>(list)); }

void CStrokeGroup::DeleteAt(int i) { paths.RemoveAt(i); }

void CStrokeGroup::RemoveAllLists() { paths.RemoveAll(); }

// A contour that draws nothing has no extent; taking its zero rectangle into
// the union would stretch the bounds to the origin.
CDoubleRect CStrokeGroup::GetListsBoundRect() const {
  CDoubleRect r;
  bool started = false;
  for (int i = 0; i < GetCount(); ++i) {
    const CPointList& list = GetAt(i)->points;
    if (!HasJoinedPoint(list)) continue;
    const CDoubleRect pr = GetDrawnBoundRect(list);
    if (started) {
      r.UnionRect(pr);
    } else {
      r = pr;
      started = true;
    }
  }
  return r;
}

CDoubleRect CStrokeGroup::GetBoundRect() const {
  CDoubleRect r;
  bool started = false;
  for (int i = 0; i < GetCount(); ++i) {
    const CStrokePath& path = *GetAt(i);
    if (!HasPoints(path)) continue;  // an empty contour has no extent
    const CDoubleRect pr = path.GetBoundRect();
    if (started) {
      r.UnionRect(pr);
    } else {
      r = pr;
      started = true;
    }
  }
  return r;
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
