#pragma once
// The steps of bitmap tracing on point lists in millimetres: thinning on a
// grid, nearest-neighbour ordering (in tiles for large lists), cutting the
// path into polylines at its jumps, and keeping only the corner points.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ravelpen {

struct TracePoint {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};
using TracePolyline = std::vector<TracePoint>;
using TracePolylineArray = std::vector<TracePolyline>;

// Euclidean distance over x, y and z, in double: every step compares these.
inline double PointDistance(const TracePoint& a, const TracePoint& b) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  const double dz = static_cast<double>(a.z) - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

struct PointBounds {
  double width = 0.0;
  double height = 0.0;
  double centreX = 0.0;
  double centreY = 0.0;
};

// Least and greatest x and y of points[0, n), n > 0, in double.
struct PointExtent {
  double minX, maxX, minY, maxY;
};
PointExtent GetPointExtent(const TracePoint* points, std::size_t n);

PointBounds GetPointBounds(const std::vector<TracePoint>& points);
// OrderPath's 10 mm tiles over the bounds of the points, and the tile of a
// point, counted row by row and kept within the grid.
class PathTiles {
 public:
  explicit PathTiles(const PointBounds& bounds);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  std::size_t Count() const { return static_cast<std::size_t>(columns_) * rows_; }
  std::uint32_t Of(double x, double y) const;

 private:
  PointBounds bounds_;
  int columns_;
  int rows_;
};
// Keeps at most one point per cell of the grid, moving lone corner points
// half a cell diagonally.
void ThinOnGrid(std::vector<TracePoint>& points, double cellSize);
// Greedy nearest-neighbour order from `current`; with `remove`, points closer
// than `threshold` to the point just taken are dropped.
void OrderByNearest(std::vector<TracePoint>& points, TracePoint current, double threshold, bool remove);
// The same order by scanning every remaining point (short lists, and the
// reference the faster search is checked against).
void OrderByNearestScan(std::vector<TracePoint>& points, TracePoint current, double threshold, bool remove);
// OrderByNearest, in 10 mm tiles walked row by row (alternating direction)
// when there are more than 5000 points.
void OrderPath(std::vector<TracePoint>& points, TracePoint start, double threshold, bool remove);
// Cuts the pool into polylines: each grows by the pool points that come
// within `gap` of it and is then ordered by OrderByNearest from its first
// point (as a whole, never in tiles). Returns the number of points placed.
std::size_t CutIntoPolylines(std::vector<TracePoint>& pool, TracePolylineArray& result, double gap, double threshold);
// Drops points where the path runs nearly straight (above 145 degrees) or
// doubles back (below 45), then closes the polyline. Returns the new count.
std::size_t ReduceToCorners(TracePolyline& polyline);

// Whether the path turns at `point` (from `previous`, the last point kept,
// on to `next`) by an angle from 45 to 145 degrees.
bool IsCorner(const TracePoint& previous, const TracePoint& point, const TracePoint& next);
// ReduceToCorners on the n > 0 points at(0) to at(n - 1) (of any type that
// corner(previous, point, next) takes), handing the points kept to
// keep(point) in order, the closing copy of the first one included.
template <typename At, typename Corner, typename Keep>
void KeepCorners(std::size_t n, const At& at, const Corner& corner, const Keep& keep) {
  const auto first = at(0);
  keep(first);
  // Removing point c leaves the same position to be tested against its new
  // neighbours: the point before it is always the last one kept.
  auto previous = first;
  auto point = n > 1 ? at(1) : first;
  for (std::size_t c = 1; c < n; ++c) {
    const auto next = c + 1 < n ? at(c + 1) : first;
    if (corner(previous, point, next)) {
      keep(point);
      previous = point;
    }
    point = next;
  }
  keep(first);
}

}  // namespace ravelpen
