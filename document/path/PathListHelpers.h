#pragma once
// Bounds and rotation of a single point list.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"

// Degree/radian factors as the stored layouts were computed with them.
constexpr double DEG_TO_RAD = 0.0174532;
constexpr double RAD_TO_DEG = 57.295779;

// Bounds of all points; the zero rectangle for an empty list.
CDoubleRect GetPointArrayBoundRect(const CPointList& list);
// Bounds of the first list and then the second (which starts the rectangle
// when the first is empty); the zero rectangle when both are empty.
CDoubleRect GetTwoListBoundRect(const CPointList& first, const CPointList& second);
// Bounds of the points that take part in a drawn segment (a joined point and
// its predecessor); the zero rectangle when nothing is drawn.
CDoubleRect GetDrawnBoundRect(const CPointList& list);

// Union of the rectangles added, the first taken as it stands: a union that
// started from the zero rectangle would stretch the bounds to the origin.
class BoundsUnion {
 public:
  void Add(const CDoubleRect& r) {
    if (found_) {
      rect_.UnionRect(r);
    } else {
      rect_ = r;
      found_ = true;
    }
  }
  bool Found() const { return found_; }
  // The zero rectangle while nothing was added.
  const CDoubleRect& Rect() const { return rect_; }

 private:
  CDoubleRect rect_;
  bool found_ = false;
};

void RotatePointsRad(CPointList& list, const CDoublePoint& centre, double radians);
void RotatePointsDeg(CPointList& list, const CDoublePoint& centre, double degrees);
void RotatePointsDegF(CPointList& list, const CDoublePoint& centre, float degrees);
