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

void EmitDxfArc(DxfPointSink& sink, double cx, double cy, double radius, double startDeg, double endDeg,
                bool mirrored) {
  if (!AllFinite({cx, cy, radius, startDeg, endDeg})) return;
  const double n = ClampPointCount(7.5 * radius);
  const double sx = mirrored ? -1.0 : 1.0;
  WalkAngles(sink, n, startDeg * kDxfDegToRad, endDeg * kDxfDegToRad, [&](double a) {
    return std::pair<double, double>(sx * (cx + radius * std::cos(a)), cy + radius * std::sin(a));
  });
}

void EmitDxfBulgeSegment(DxfPointSink& sink, double x1, double y1, double x2, double y2, double bulge) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double chord = std::sqrt(dx * dx + dy * dy);
  if (bulge != 0 && AllFinite({x1, y1, x2, y2, bulge, chord}) && chord > 0) {
    // Centre on the chord's normal: (1 - b^2) / 4b of the chord from its middle.
    const double k = (1 - bulge * bulge) / (4 * bulge);
    const double cx = (x1 + x2) / 2 - dy * k, cy = (y1 + y2) / 2 + dx * k;
    const double radius = std::hypot(x1 - cx, y1 - cy);
    const double sweep = 4 * std::atan(bulge);
    const double step = (360.0 / ClampPointCount(7.5 * radius)) * kDxfDegToRad;
    const double a0 = std::atan2(y1 - cy, x1 - cx);
    if (std::isfinite(radius) && std::isfinite(a0)) {
      const int pieces = static_cast<int>(std::ceil(std::fabs(sweep) / step));
      for (int i = 1; i < pieces; ++i) {
        const double a = a0 + sweep * i / pieces;
        sink.Add(cx + radius * std::cos(a), cy + radius * std::sin(a), 1);
      }
    }
  }
  sink.Add(x2, y2, 1);
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
