#pragma once
// Flattens the circular arc through three points. Collinear points, or a
// circle too small to mark, fall back to dividing the longest of the three
// connecting segments.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"

class CArc3Point {
 public:
  CArc3Point(CDoublePoint first, CDoublePoint second, CDoublePoint third);
  virtual ~CArc3Point();

  // Empties the output and generates the arc with the division step (used by
  // the line fallback). The caller value and switch are kept; with switch 1
  // the value has no effect.
  void Generate(float step, void* callerValue, int callerSwitch);
  void LineFallback(float step);
  // Appends the division points of the segment from a to b.
  void DivideSegment(const CDoublePoint& a, const CDoublePoint& b, float step);

  CPointList output;
  CPointList second;  // stays empty
  CDoublePoint current;  // after a generation: the third defining point
  CDoublePoint firstPoint;
  CDoublePoint secondPoint;
  CDoublePoint thirdPoint;
  float extraSpacing = 0;  // added to the step of the line fallback
  void* callerValue = nullptr;
  int callerSwitch = 0;
};

// Arcs that would take more points than this are divided as a line instead:
// only a nearly straight triple gives such a radius.
constexpr double kMaxArcPoints = 1000000;
