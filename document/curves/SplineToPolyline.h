#pragma once
// Flattening of a cubic B-spline given by its knot vector and control points,
// span by span with de Boor's algorithm; the points per span grow with the
// span's control-polygon length (7 to 30).
#include <cstdint>
#include <vector>

#include "document/geometry/CDoublePoint.h"
#include "document/geometry/CPointList.h"

class CArcFitter;

// A spline as read from a drawing-exchange file.
struct CSplineRecord {
  std::vector<double> knots;  // t[0] .. t[m]
  CPointList controlPoints;   // P[0] .. P[a]
  int degree = 0;
  int knotCount = 0;
  int controlCount = 0;
  int closed = 0;
};

// De Boor evaluation of span a (a >= 3) at parameter t; flag 0. The span's
// knots t[a-2] .. t[a+3] must exist.
CDoublePoint EvalDeBoor(const CSplineRecord& spline, int a, double t);

// Points of a span i: 12 + the integer part of (2 * L - 40) * 0.1 clamped to
// -5 .. 18, L being the length of the control polygon P[i-3] .. P[i].
int SpanPointCount(const CSplineRecord& spline, int i);

// Two-pass flattening. With fill null only counts. With fill non-null every
// generated point is written at the counter's position into coords (x, y) and
// flags (0 for the first point, 1 after), the counter advancing by two per
// point, and each span's points go to the fitter (when given). Returns twice
// the number of generated points. Spans whose knots are missing are skipped.
int SplineToPolyline(const CSplineRecord& spline, double* coords, std::uint8_t* flags, int& counter, const void* fill,
                     CArcFitter* fitter);
