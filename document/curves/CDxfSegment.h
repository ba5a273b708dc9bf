#pragma once
// One fitted stretch of points: a straight LINE or a circular ARC, written as
// a DXF entity.
#include <cstdio>

#include "document/geometry/CDoublePoint.h"

class CDxfSegment {
 public:
  CDxfSegment() = default;
  virtual ~CDxfSegment();

  // LINE from p1 to p3 (returns 1) when the points are collinear or nearly so;
  // otherwise 0 with the centre and radius set (the line flag stays set).
  int FromThreePointsSimple(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3);
  // ARC through the points (returns 1), or LINE from p1 to p3 (returns 0) when
  // they are collinear, the circle is tiny, or (with the line test) it is huge
  // against the run length. The arc always takes the shorter way round.
  int FromThreePoints(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3, double runLength,
                      bool lineTest);
  void SetLine(const CDoublePoint& from, const CDoublePoint& to);
  // The LINE or ARC entity; nothing without a file.
  void WriteDxf(std::FILE* file) const;

  double startAngle = 0;  // degrees
  double endAngle = 0;    // degrees
  double radius = 0;
  CDoublePoint centre;
  CDoublePoint startPoint;
  CDoublePoint endPoint;
  int isLine = 0;  // 1 LINE, 0 ARC
};

// Angle at p2 between the directions to p1 and to p3, degrees.
double CornerAngle(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3);
// Direction of b seen from a, degrees 0 .. 360.
double DirectionAngle(const CDoublePoint& a, const CDoublePoint& b);
// Whether the path p1 p2 p3 p4 turns the same way at p2 and at p3.
bool TurnsAgree(const CDoublePoint& p1, const CDoublePoint& p2, const CDoublePoint& p3, const CDoublePoint& p4);
