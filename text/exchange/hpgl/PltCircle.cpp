#include "text/exchange/hpgl/PltCircle.h"

#include <algorithm>
#include <cmath>

#include "text/exchange/hpgl/PltImport.h"

namespace {
constexpr double kDegToRad = 0.0174532;
constexpr double kFullTurn = 6.2831852;
constexpr double kStartAngle = 0.785394;
// 45 * 0.0174532 falls an ulp short of 0.785394; the closing run must still
// stop at 45 degrees rather than repeat it.
constexpr double kAngleTolerance = 1e-9;
}  // namespace

double PltCircleDivisions(double r) { return std::clamp(7.5 * r, 8.0, 540.0); }

void AddPltCircle(PltPointSink& sink, double cx, double cy, double r) {
  if (!std::isfinite(std::fabs(cx) + std::fabs(r)) || !std::isfinite(std::fabs(cy) + std::fabs(r))) return;
  const double step = (360.0 / PltCircleDivisions(r)) * kDegToRad;
  bool first = true;
  auto add = [&](double a) {
    if (sink.Saturated()) return;
    const BYTE pen = first ? kPltPenUp : kPltPenDown;
    first = false;
    if (sink.WouldStore())
      sink.Add(cx + r * std::cos(a), cy + r * std::sin(a), pen);
    else
      sink.AddCountOnly();
  };
  for (double a = kStartAngle; a < kFullTurn; a += step) add(a);
  add(0.0);
  for (double a = 0.0; a < kStartAngle - kAngleTolerance; a += step) add(a);
  add(kStartAngle);
}
