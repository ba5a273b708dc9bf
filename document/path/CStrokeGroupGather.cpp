// Nearest-first gathering of a group's contour points (text layouts order
// their glyph points with it).
#include "document/path/CStrokeGroup.h"
#include "document/path/PointOrdering.h"

void CStrokeGroup::GatherNearestFirst(CPointList& out, CDoublePoint& start) const {
  for (int i = 0; i < GetCount(); ++i) out.Append(GetAt(i)->points);
  SortPointsNearestFirst(start, out);
}
