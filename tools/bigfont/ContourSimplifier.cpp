#include "tools/bigfont/ContourSimplifier.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Distance of p from the segment a-b (from a when the segment has no length).
double DistanceToSegment(const GridStep& p, const GridStep& a, const GridStep& b) {
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

}  // namespace

std::vector<GridContour> ContourSimplifier::Simplify(const std::vector<Contour>& contours) const {
  std::vector<GridContour> out;
  for (const Contour& contour : contours) {
    GridContour points;
    for (const GridPoint& p : contour) {
      const GridStep q{static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))};
      if (points.empty() || !(points.back() == q)) points.push_back(q);
    }
    while (points.size() > 1 && points.back() == points.front()) points.pop_back();
    if (points.size() < 2 || TooSmall(points)) continue;
    GridContour thin = Thin(points);
    if (thin.size() >= 2) out.push_back(std::move(thin));
  }
  return out;
}

GridContour ContourSimplifier::Thin(const GridContour& points) const {
  // The closed contour as an open run from its first point back to it.
  GridContour run = points;
  run.push_back(points.front());
  std::vector<bool> keep(run.size(), false);
  keep.front() = keep.back() = true;
  std::vector<std::pair<std::size_t, std::size_t>> spans{{0, run.size() - 1}};
  while (!spans.empty()) {
    const auto [from, to] = spans.back();
    spans.pop_back();
    double farthest = -1;
    std::size_t at = from;
    for (std::size_t k = from + 1; k < to; ++k) {
      const double d = DistanceToSegment(run[k], run[from], run[to]);
      if (d > farthest) {
        farthest = d;
        at = k;
      }
    }
    if (at == from || farthest <= tolerance_) continue;
    keep[at] = true;
    spans.emplace_back(from, at);
    spans.emplace_back(at, to);
  }
  GridContour out;
  for (std::size_t k = 0; k + 1 < run.size(); ++k)
    if (keep[k]) out.push_back(run[k]);
  return out;
}

bool ContourSimplifier::TooSmall(const GridContour& points) const {
  const auto [minX, maxX] = std::minmax_element(points.begin(), points.end(),
                                                [](const GridStep& a, const GridStep& b) { return a.x < b.x; });
  const auto [minY, maxY] = std::minmax_element(points.begin(), points.end(),
                                                [](const GridStep& a, const GridStep& b) { return a.y < b.y; });
  return maxX->x - minX->x < smallest_ && maxY->y - minY->y < smallest_;
}
