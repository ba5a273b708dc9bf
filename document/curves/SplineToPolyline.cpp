#include "document/curves/SplineToPolyline.h"

#include <cmath>

#include "document/curves/CArcFitter.h"

namespace {

bool SpanHasKnots(const CSplineRecord& spline, int i) {
  return i >= 3 && static_cast<std::size_t>(i) + 3 < spline.knots.size();
}

}  // namespace

CDoublePoint EvalDeBoor(const CSplineRecord& spline, int a, double t) {
  const std::vector<double>& k = spline.knots;
  const CPointList& p = spline.controlPoints;
  double dx[4];
  double dy[4];
  for (int j = 0; j < 4; ++j) {
    dx[j] = p[a - 3 + j].x;
    dy[j] = p[a - 3 + j].y;
  }
  for (int r = 1; r <= 3; ++r) {
    for (int m = 0; m <= 3 - r; ++m) {
      const double lo = k[static_cast<std::size_t>(a - 3 + r + m)];
      const double hi = k[static_cast<std::size_t>(a + 1 + m)];
      const double alpha = hi - lo == 0 ? 0 : (t - lo) / (hi - lo);
      dx[m] = (1 - alpha) * dx[m] + alpha * dx[m + 1];
      dy[m] = (1 - alpha) * dy[m] + alpha * dy[m + 1];
    }
  }
  return CDoublePoint(dx[0], dy[0], 0);
}

int SpanPointCount(const CSplineRecord& spline, int i) {
  const CPointList& p = spline.controlPoints;
  const double length =
      PointDistance(p[i - 3], p[i - 2]) + PointDistance(p[i - 2], p[i - 1]) + PointDistance(p[i - 1], p[i]);
  const double g = (2 * length - 40) * 0.1;
  int f;
  if (!(g < 18)) {
    f = 18;  // also a length that is not a number
  } else if (g <= -5) {
    f = -5;
  } else {
    f = static_cast<int>(g);
  }
  return f + 12;
}

int SplineToPolyline(const CSplineRecord& spline, double* coords, std::uint8_t* flags, int& counter, const void* fill,
                     CArcFitter* fitter) {
  const int last = spline.controlPoints.GetSize() - 1;
  CPointList work;
  int generated = 0;
  for (int i = 3; i <= last; ++i) {
    if (!SpanHasKnots(spline, i)) break;
    const int n = SpanPointCount(spline, i);
    const double t0 = spline.knots[static_cast<std::size_t>(i)];
    const double t1 = spline.knots[static_cast<std::size_t>(i) + 1];
    const double dt = (t1 - t0) / n;
    if (dt == 0 || !std::isfinite(dt)) continue;
    if (fill) {
      CPointList span;
      for (int k = 0; k < n - 1; ++k) span.Add(EvalDeBoor(spline, i, t0 + k * dt));
      span.Add(EvalDeBoor(spline, i, t1));
      work.Append(span);
      if (fitter) fitter->FitArcs(span);
    }
    generated += n;
  }
  if (fill && coords && flags) {
    for (int j = 0; j < work.GetSize(); ++j) {
      coords[counter] = work[j].x;
      coords[counter + 1] = work[j].y;
      flags[counter / 2] = j == 0 ? 0 : 1;
      counter += 2;
    }
  }
  return generated * 2;
}
