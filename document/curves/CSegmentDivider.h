#pragma once
// Divides a straight segment into equal steps of about a given length.
#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"

class CSegmentDivider {
 public:
  CSegmentDivider(const CDoublePoint& start, const CDoublePoint& end);
  virtual ~CSegmentDivider();

  // Empties the output, then divides with rounding on.
  void Divide(float step);
  // Rounding on: the step is adjusted so the points run from start to end in
  // whole equal steps (a remainder of half a step or more adds one). Rounding
  // off: the last point is the last whole step before the end. A segment
  // shorter than the step, or a step that is not positive, gives its start only.
  void DivideEx(float step, int rounding);

  CPointList output;
  CPointList second;        // stays empty
  float extraSpacing = 0;   // added to the step
  float startTrim = 0;      // the segment is shortened by these before dividing
  float endTrim = 0;
  CDoublePoint current;     // its flag byte is the flag of every appended point
  CDoublePoint startPoint;
  CDoublePoint endPoint;
};

// Divisions beyond this many are refused (the step grows instead): no marking
// area needs more, and a stray far point must not exhaust memory.
constexpr double kMaxSegmentDivisions = 1000000;
