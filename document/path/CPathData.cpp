#include "document/path/CPathData.h"

#include "document/geometry/CSegment2D.h"
#include "document/path/PathListHelpers.h"

namespace {

bool GroupHasPoints(const CStrokeGroup& group) {
  for (int i = 0; i < group.GetCount(); ++i)
    if (group.GetAt(i)->HasPoints()) return true;
  return false;
}

// Union of the bounds of the groups that pass the filter and hold points.
// Groups whose contours are all empty have no extent and are left out, so
// they cannot stretch the bounds to the origin.
template <typename Filter>
bool UnionGroupBounds(const CStrokeGroupArray& groups, CDoubleRect& rect, Filter keep) {
  BoundsUnion bounds;
  for (int i = 0; i < groups.GetSize(); ++i) {
    const CStrokeGroup& group = *groups.GetAt(i);
    if (keep(group) && GroupHasPoints(group)) bounds.Add(group.GetBoundRect());
  }
  if (bounds.Found()) rect = bounds.Rect();
  return bounds.Found();
}

}  // namespace

CStrokeGroup* CPathData::GetLastGroup() const {
  const int n = groups_.GetSize();
  return n > 0 ? groups_.GetAt(n - 1) : nullptr;
}

void CPathData::CopyPointsTo(CPointList& list) const {
  list.RemoveAll();
  list.Append(points);
}

void CPathData::CopySecondPointsTo(CPointList& list) const {
  list.RemoveAll();
  list.Append(second);
}

int CPathData::GatherGroupPoints(CPointList& list) const {
  const int n = groups_.GetSize();
  for (int g = 0; g < n; ++g) {
    const CStrokeGroup& group = *groups_.GetAt(g);
    for (int i = 0; i < group.GetCount(); ++i) list.Append(group.GetAt(i)->points);
    list.Append(group.fill);
  }
  return n;
}

CDoubleRect CPathData::GetPointsBoundRect() const { return GetTwoListBoundRect(points, second); }

bool CPathData::HasCutFill() const {
  for (int i = 0; i < groups_.GetSize(); ++i)
    if (groups_.GetAt(i) != nullptr && groups_.GetAt(i)->fillCut) return true;
  return false;
}

long long CPathData::CountPoints() const {
  long long n = points.GetSize() + second.GetSize();
  for (int i = 0; i < groups_.GetSize(); ++i) {
    const CStrokeGroup* group = groups_.GetAt(i);
    if (group == nullptr) continue;
    n += group->fill.GetSize();
    for (int k = 0; k < group->GetCount(); ++k) {
      const CStrokePath* contour = group->GetAt(k);
      if (contour != nullptr) n += contour->points.GetSize() + contour->second.GetSize();
    }
  }
  return n;
}

bool CPathData::GetGroupsBoundRect(CDoubleRect& rect) const {
  return UnionGroupBounds(groups_, rect, [](const CStrokeGroup& g) { return g.kind != GROUP_KIND_HIDDEN; });
}

bool CPathData::GetKind2BoundRect(CDoubleRect& rect) const {
  return UnionGroupBounds(groups_, rect, [](const CStrokeGroup& g) { return g.kind == GROUP_KIND_HIDDEN; });
}

CDoubleRect CPathData::GetBoundRect() const {
  CDoubleRect r = GetPointsBoundRect();
  CDoubleRect groups;
  if (GetGroupsBoundRect(groups)) {
    // Without own points the zero rectangle would drag the bounds to the origin.
    if (points.GetSize() == 0 && second.GetSize() == 0)
      r = groups;
    else
      r.UnionRect(groups);
  }
  return r;
}

CDoublePoint CPathData::GetCenterPoint() const { return GetPointsBoundRect().CenterPoint(); }

void CPathData::Offset(double dx, double dy) {
  for (int i = 0; i < points.GetSize(); ++i) points[i] += {dx, dy};
  for (int i = 0; i < second.GetSize(); ++i) second[i] += {dx, dy};
  for (int g = 0; g < groups_.GetSize(); ++g) groups_.GetAt(g)->Offset(dx, dy);
}

void CPathData::Rotate(const CDoublePoint& centre, double radians) {
  const CDoublePoint c = centre;  // the centre may be one of our own points
  RotatePointsRad(points, c, radians);
  for (int g = 0; g < groups_.GetSize(); ++g) groups_.GetAt(g)->RotateRad(c, radians);
}

void CPathData::ScaleAbout(const CDoublePoint& centre, double sx, double sy) {
  const double cx = centre.x;
  const double cy = centre.y;
  for (int i = 0; i < points.GetSize(); ++i) {
    CDoublePoint& p = points[i];
    p.x = cx + (p.x - cx) * sx;
    p.y = cy + (p.y - cy) * sy;
  }
}

void CPathData::SnapToGrid(double xStep, double yStep) {
  points.SnapToGrid(xStep, yStep);
  for (int g = 0; g < groups_.GetSize(); ++g) groups_.GetAt(g)->SnapToGrid(xStep, yStep);
}

void CPathData::SetHighFlagAll() {
  for (int i = 0; i < points.GetSize(); ++i) points[i].flag |= PT_SELECTED;
  flag = 1;
}

bool CPathData::IntersectsRect(const CDoubleRect& rect, double offsetX, double offsetY) const {
  const int n = points.GetSize();
  if (n < 2) return false;
  const CDoublePoint tl(rect.left, rect.top), tr(rect.right, rect.top);
  const CDoublePoint br(rect.right, rect.bottom), bl(rect.left, rect.bottom);
  const CSegment2D sides[4] = {CSegment2D(tl, tr), CSegment2D(tr, br), CSegment2D(br, bl), CSegment2D(bl, tl)};
  for (int i = 0; i + 1 < n; ++i) {
    const CDoublePoint a(points[i].x + offsetX, points[i].y + offsetY);
    const CDoublePoint b(points[i + 1].x + offsetX, points[i + 1].y + offsetY);
    const CDoublePoint m((a.x + b.x) / 2, (a.y + b.y) / 2);
    if (rect.PtInRectTol(a.x, a.y) || rect.PtInRectTol(m.x, m.y) || rect.PtInRectTol(b.x, b.y)) return true;
    const CSegment2D seg(a, b);
    int crossings = 0;
    for (const CSegment2D& side : sides) {
      CDoublePoint hit;
      if (seg.Intersect(hit, side, true)) ++crossings;
    }
    if (crossings >= 2 && crossings % 2 == 0) return true;
  }
  return false;
}
