#include "text/exchange/dxf/DxfCurves.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace {

double ClampPointCount(double n) {
  if (!(n >= 8)) return 8;  // also a count that is not a number
  return n > 540 ? 540 : n;
}

// Walks the angles s, s + step, ... below 2pi, then 0 when wrapping, then on
// below e, then e itself. Angles within one turn need at most n + 2 points per
// walk; the limit keeps angles far outside a turn from running for ever.
template <class PointAt>
void WalkAngles(DxfPointSink& sink, double n, double s, double e, PointAt pointAt) {
  const double step = (360.0 / n) * kDxfDegToRad;
  const long long limit = static_cast<long long>(n) + 2;
  bool first = true;
  auto emit = [&](double a) {
    const auto p = pointAt(a);
    sink.Add(p.first, p.second, first ? 0 : 1);
    first = false;
  };
  double a = s;
  if (s >= e) {
    for (long long k = 0; a < kDxfFullTurn && k < limit; ++k, a += step) emit(a);
    emit(0);
    a = 0;
  }
  for (long long k = 0; a < e && k < limit; ++k, a += step) emit(a);
  emit(e);
}

bool AllFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

void EmitDxfArc(DxfPointSink& sink, double cx, double cy, double radius, double startDeg, double endDeg) {
  if (!AllFinite({cx, cy, radius, startDeg, endDeg})) return;
  const double n = ClampPointCount(7.5 * radius);
  WalkAngles(sink, n, startDeg * kDxfDegToRad, endDeg * kDxfDegToRad, [&](double a) {
    return std::pair<double, double>(cx + radius * std::cos(a), cy + radius * std::sin(a));
  });
}

void EmitDxfEllipse(DxfPointSink& sink, double cx, double cy, double mx, double my, double ratio, double start,
                    double end) {
  if (!AllFinite({cx, cy, mx, my, ratio, start, end})) return;
  const double a = std::sqrt(mx * mx + my * my);
  const double b = a * ratio;
  const double n = ClampPointCount(4 * (a + b));
  // The direction of the major axis, also when it points into the left half.
  const double theta = mx == 0 ? (my < 0 ? -1.5707963 : 1.5707963) : std::atan2(my, mx);
  const double ct = std::cos(theta), st = std::sin(theta);
  WalkAngles(sink, n, start, end, [&](double t) {
    const double c = std::cos(t), s = std::sin(t);
    return std::pair<double, double>(cx + a * c * ct - b * s * st, cy + a * c * st + b * s * ct);
  });
}
