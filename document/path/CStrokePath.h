#pragma once
// One contour or stroke of a stroke group: its points, a second list that
// builders may fill, and a flag that makes the renderer use the highlight pen.
#include "document/geometry/CDoubleRect.h"
#include "document/geometry/CPointList.h"

class CStrokePath {
 public:
  CStrokePath() = default;
  explicit CStrokePath(const CPointList& list);  // copies the list's points
  CStrokePath(const CStrokePath&) = delete;
  CStrokePath& operator=(const CStrokePath&) = delete;

  // Marks every point selected (0x80) and clears the highlight flag.
  void SetHighFlagAll();
  // Bounds of both lists together; the zero rectangle when both are empty.
  CDoubleRect GetBoundRect() const;
  // Either list holds a point; an empty contour has no extent.
  bool HasPoints() const { return points.GetSize() > 0 || second.GetSize() > 0; }
  void Offset(double dx, double dy);  // both lists
  void Rotate(const CDoublePoint& centre, double radians);  // points list only

  CPointList points;
  CPointList second;
  int flag = 0;
};
