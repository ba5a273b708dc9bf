#include "libs/ravelpen/ShapeBuilders.h"

#include <cmath>
#include <vector>

#include "libs/ravelpen/MoveList.h"
#include "libs/ravelpen/PlotterSettings.h"

namespace ravelpen {
namespace {

// The two degree factors the shapes have always used.
constexpr double kDegShort = 0.0174532;
constexpr double kDegLong = 0.017453292222222222;
constexpr double kTwoPi = 6.2831852;

struct ShapePoint {
  double x;
  double y;
  bool penDown;
};

double NormaliseDegrees(double angle) {
  angle = std::fmod(angle, 360.0);
  if (angle < 0) angle += 360.0;
  return angle;
}

double KeepBelow360(double angle) { return angle >= 360.0 ? angle - 360.0 : angle; }

// Sizes and angles beyond any machine would only make endless point runs.
bool Usable(double value) { return std::isfinite(value) && std::fabs(value) <= 1e5; }

// The hole shapes keep their radius in the shape radius setting.
double HoleRadius(double radius) {
  Settings().shapeRadius = radius > 0 ? radius : 10.0;
  return Settings().shapeRadius;
}

// Arc of the hole shapes from s to e degrees around (cx, cy): pen-down points
// every 360 / (r * 7.5) degrees, through 0 when s >= e, ending exactly at e.
void HoleArc(std::vector<ShapePoint>& out, double cx, double cy, double r, double s, double e) {
  const double step = 360.0 / (r * 7.5) * kDegLong;
  double a = s * kDegLong;
  const double end = e * kDegLong;
  auto point = [&](double angle) { out.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle), true}); };
  if (s >= e) {
    for (a += step; a < kTwoPi; a += step) point(a);
    a -= kTwoPi;
  } else {
    a += step;
  }
  for (; a < end; a += step) point(a);
  point(end);
}

int AppendAll(const std::vector<ShapePoint>& points) {
  for (const ShapePoint& p : points)
    if (!Moves().Append(p.x, p.y, p.penDown)) return 0;
  return 1;
}

}  // namespace

int AppendArc(double cx, double cy, double r, double a0, double a1) {
  if (r < 0.5) r = 2.0;
  if (!Usable(cx) || !Usable(cy) || !Usable(r) || !Usable(a0) || !Usable(a1)) return 0;
  int n = static_cast<int>(r * 16);
  if (n < 12) n = 12;
  if (n > 540) n = 540;
  const double step = 360.0 / n * kDegShort;
  const double start = a0 * kDegShort;
  const double end = a1 * kDegShort;
  const double sx = cx + r * std::cos(start);
  const double sy = cy + r * std::sin(start);
  Moves().Append(sx, sy, false);
  int drawn = 0;
  auto to = [&](double angle) { drawn |= Moves().Append(cx + r * std::cos(angle), cy + r * std::sin(angle), true); };
  double theta = start + step;
  if (a0 >= a1) {
    for (; theta < kTwoPi; theta += step) to(theta);
    theta -= kTwoPi;
  }
  for (; theta < end; theta += step) to(theta);
  if (a1 != a0 && a1 != a0 + 360.0)
    to(end);
  else
    drawn |= Moves().Append(sx, sy, true);
  return drawn;
}

int AppendLine(double x, double y, double length, double angle) {
  const double a = angle * kDegLong;
  if (!Moves().Append(x, y, false)) return 0;
  return Moves().Append(x + length * std::cos(a), y + length * std::sin(a), true);
}

int AppendTriangle(double x, double y, double r, double angle) {
  if (!Usable(x) || !Usable(y) || !Usable(r) || !Usable(angle)) return 0;
  r = HoleRadius(r);
  angle = NormaliseDegrees(angle);
  std::vector<ShapePoint> points;
  auto at = [&](double degrees, bool pen) {
    const double a = KeepBelow360(degrees) * kDegShort;
    points.push_back({x + r * std::cos(a), y + r * std::sin(a), pen});
  };
  at(angle, false);
  at(angle + 120, true);
  at(angle + 240, true);
  at(angle + 360, true);
  return AppendAll(points);
}

int AppendWeldHole(double x, double y, double r, double angle) {
  if (!Usable(x) || !Usable(y) || !Usable(r) || !Usable(angle)) return 0;
  r = HoleRadius(r);
  angle = NormaliseDegrees(angle);
  const double a = angle * kDegLong;
  std::vector<ShapePoint> points;
  points.push_back({x - r * std::cos(a), y - r * std::sin(a), false});
  points.push_back({x + r * std::cos(a), y + r * std::sin(a), true});
  HoleArc(points, x, y, r, angle, KeepBelow360(angle + 180));
  return AppendAll(points);
}

int AppendGlideHole(double x, double y, double length, double r, double angle) {
  if (!Usable(x) || !Usable(y) || !Usable(length) || !Usable(r) || !Usable(angle)) return 0;
  r = HoleRadius(r);
  std::vector<ShapePoint> points;
  points.push_back({x, y - r, false});
  points.push_back({x + length, y - r, true});
  HoleArc(points, x + length, y, r, 270, 90);
  points.push_back({x, y + r, true});
  HoleArc(points, x, y, r, 90, 270);
  if (angle != 0) {
    const double a = angle * kDegShort;
    const double c = std::cos(a);
    const double s = std::sin(a);
    for (ShapePoint& p : points) {
      const double u = p.x - x;
      const double v = p.y - y;
      p.x = x + u * c - v * s;
      p.y = y + u * s + v * c;
    }
  }
  return AppendAll(points);
}

}  // namespace ravelpen
