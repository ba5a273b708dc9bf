#include "text/layout/TextSettings.h"

#include "document/geometry/CDoubleRect.h"

CDoublePoint FixedPointOf(const CDoubleRect& rect, int fixedCorner) {
  if (fixedCorner < 0 || fixedCorner > 8) return CDoublePoint(0, 0, 0);
  CDoublePoint p = rect.GetHandlePoint(fixedCorner);
  p.flag = 0;
  return p;
}
