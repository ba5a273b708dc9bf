#pragma once
// The smooth curve through a list of points: cubic Hermite pieces whose
// parameter lengths follow their chords, with natural ends. The tangents are
// what ten Jacobi sweeps of the tridiagonal system give (not its exact
// solution), and the curve is sampled every 0.5 mm along each piece's
// dominant axis.
#include <vector>

#include "document/geometry/CPointList.h"
#include "document/geometry/CVector2D.h"

class CInterpCurve {
 public:
  explicit CInterpCurve(const CPointList& points);
  virtual ~CInterpCurve();

  // Chords, ratios, the system and its solution; nothing for fewer than two points.
  void Prepare();
  // Replaces the right-hand sides in tangents by the solution.
  void SolveTridiagonal(CPointList& rhs) const;
  // Prepare, then appends the sampled curve to out (nothing for fewer than two points).
  void BuildPolyline(CPointList& out);

  // The points without consecutive repeats (chords of 1e-8 mm or less), which
  // would spoil the tangents of their neighbours.
  static void DropRepeatedPoints(const CPointList& points, CPointList& out);
  // How many points BuildPolyline gives for the points at most.
  static double SampledPointsAtMost(const CPointList& points);

  int n = 0;
  CPointList points;
  std::vector<CVector2D> chords;
  CPointList tangents;
  CPointList endTangents;
  std::vector<double> ratios;
  std::vector<double> lower;
  std::vector<double> diagonal;
  std::vector<double> upper;
};

// A piece whose dominant extent is beyond this (a kilometre) yields only its
// start point: no machine marks it, and sampling it would not end.
constexpr double kMaxCurvePieceExtent = 1.0e6;

// A curve of more points than this (as many as a whole project may hold:
// pieces hundreds of metres long) is not sampled at all; a few control points
// far apart would otherwise fill the memory.
constexpr double kMaxCurvePoints = 2.0e6;
