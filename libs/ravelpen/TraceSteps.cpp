#include "libs/ravelpen/TraceSteps.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "libs/ravelpen/NearestPointIndex.h"
#include "libs/ravelpen/NeighbourCells.h"

namespace ravelpen {
namespace {

// Lists shorter than this are ordered by the plain scan.
constexpr std::size_t kShortList = 24;

// PointDistance(a, b) < limit, with the square root taken only near the limit.
bool Within(const TracePoint& a, const TracePoint& b, double limit) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  const double dz = static_cast<double>(a.z) - b.z;
  const double square = dx * dx + dy * dy + dz * dz;
  const double limitSquare = limit * limit;
  if (square < limitSquare * (1.0 - 1e-9)) return true;
  if (square > limitSquare * (1.0 + 1e-9)) return false;
  return std::sqrt(square) < limit;
}

}  // namespace

PointExtent GetPointExtent(const TracePoint* points, std::size_t n) {
  PointExtent e{points[0].x, points[0].x, points[0].y, points[0].y};
  for (std::size_t i = 1; i < n; ++i) {
    e.minX = std::min<double>(e.minX, points[i].x);
    e.maxX = std::max<double>(e.maxX, points[i].x);
    e.minY = std::min<double>(e.minY, points[i].y);
    e.maxY = std::max<double>(e.maxY, points[i].y);
  }
  return e;
}

PointBounds GetPointBounds(const std::vector<TracePoint>& points) {
  PointBounds b;
  if (points.empty()) return b;
  const PointExtent e = GetPointExtent(points.data(), points.size());
  b.width = e.maxX - e.minX;
  b.height = e.maxY - e.minY;
  b.centreX = (e.minX + e.maxX) / 2;
  b.centreY = (e.minY + e.maxY) / 2;
  return b;
}

namespace {

// Tiles of 10 mm across an extent, the last one taking what is left; at least one.
int TilesAcross(double extent) {
  int count = static_cast<int>(extent * 0.1);
  if (extent - count * 10.0 > 0) ++count;
  return std::max(count, 1);
}

}  // namespace

PathTiles::PathTiles(const PointBounds& bounds)
    : bounds_(bounds), columns_(TilesAcross(bounds.width)), rows_(TilesAcross(bounds.height)) {}

std::uint32_t PathTiles::Of(double x, double y) const {
  int column = static_cast<int>((x - bounds_.centreX + bounds_.width / 2) * 0.1);
  if (column * 10.0 >= bounds_.width) --column;
  int row = static_cast<int>((y - bounds_.centreY + bounds_.height / 2) * 0.1);
  if (row * 10.0 >= bounds_.height) --row;
  return static_cast<std::uint32_t>(std::clamp<long long>(column + static_cast<long long>(row) * columns_, 0,
                                                          static_cast<long long>(Count()) - 1));
}

void ThinOnGrid(std::vector<TracePoint>& points, double c) {
  if (points.empty()) return;
  const auto [minX, maxX, minY, maxY] = GetPointExtent(points.data(), points.size());
  const double h = c / 2;
  const long long columns = static_cast<long long>((maxX - minX + h) / c) + 1;
  const long long rows = static_cast<long long>((maxY - minY + h) / c) + 1;
  struct Cell {
    long long row;
    long long column;
    bool operator<(const Cell& o) const { return row != o.row ? row < o.row : column < o.column; }
    bool operator==(const Cell& o) const { return row == o.row && column == o.column; }
  };
  std::vector<Cell> cells;
  cells.reserve(points.size());
  for (const TracePoint& p : points)
    cells.push_back({static_cast<long long>((p.y - minY + 0.2 * c) / c), static_cast<long long>((p.x - minX + 0.2 * c) / c)});
  // Cells run row by row from the least y, left to right, one point each: of
  // the points in one cell the last one stays. An outline comes in that
  // order already, one point a cell.
  if (std::adjacent_find(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return !(a < b); }) !=
      cells.end()) {
    std::vector<std::size_t> order(points.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return cells[a] < cells[b]; });
    std::vector<Cell> keptCells;
    std::vector<TracePoint> keptPoints;
    for (std::size_t i : order) {
      if (!keptCells.empty() && keptCells.back() == cells[i]) {
        keptPoints.back() = points[i];
      } else {
        keptCells.push_back(cells[i]);
        keptPoints.push_back(points[i]);
      }
    }
    cells.swap(keptCells);
    points.swap(keptPoints);
  }
  // Corner smoothing visits the cells in that order and clears each cell's
  // corner flag after it, so the cells to the left and below never count:
  // only a cell with occupied cells to its right and above moves, by
  // (+h, +h). The cell above is found by a second walk through the cells.
  std::size_t upper = 0;
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const Cell& cell = cells[i];
    if (cell.row + 1 >= rows || cell.column + 1 >= columns) continue;
    if (i + 1 >= cells.size() || !(cells[i + 1] == Cell{cell.row, cell.column + 1})) continue;
    const Cell above{cell.row + 1, cell.column};
    upper = std::max(upper, i + 1);
    while (upper < cells.size() && cells[upper] < above) ++upper;
    if (upper < cells.size() && cells[upper] == above) {
      points[i].x += static_cast<float>(h);
      points[i].y += static_cast<float>(h);
    }
  }
}

namespace {

// Greedy nearest-neighbour ordering, with the working storage kept from one
// list to the next (the tiles of a large list, the polylines of a picture).
class NearestOrder {
 public:
  // Appends points[0, n) to `out` in the greedy order from `current`, which
  // ends as the last point taken.
  void Append(const TracePoint* points, std::size_t n, TracePoint& current, double threshold, bool remove,
              std::vector<TracePoint>& out) {
    // Short lists and points off the plane (z is 0 in tracing) take the scan.
    bool flat = current.z == 0.0f;
    for (std::size_t i = 0; i < n && flat; ++i) flat = points[i].z == 0.0f;
    if (n < kShortList || !flat) {
      Scan(points, n, current, threshold, remove, out);
      return;
    }
    index_.Build(points, n);
    while (!index_.Empty()) {
      current = points[index_.TakeNearest(current, remove ? threshold : 0.0)];
      out.push_back(current);
    }
  }

  // The plain scan: every remaining point, in list order, each time.
  void Scan(const TracePoint* points, std::size_t n, TracePoint& current, double threshold, bool remove,
            std::vector<TracePoint>& out) {
    remaining_.assign(points, points + n);
    while (!remaining_.empty()) {
      std::size_t best = 0;
      double bestDistance = PointDistance(current, remaining_[0]);
      dropped_.assign(remaining_.size(), 0);
      for (std::size_t i = 1; i < remaining_.size(); ++i) {
        const double d = PointDistance(current, remaining_[i]);
        if (remove && d < threshold) {
          dropped_[i] = 1;
        } else if (d < bestDistance) {
          best = i;
          bestDistance = d;
        }
      }
      current = remaining_[best];
      out.push_back(current);
      std::size_t kept = 0;
      for (std::size_t i = 0; i < remaining_.size(); ++i)
        if (i != best && !dropped_[i]) remaining_[kept++] = remaining_[i];
      remaining_.resize(kept);
    }
  }

  // OrderByNearest on the whole list, in place.
  void Whole(std::vector<TracePoint>& points, TracePoint start, double threshold, bool remove) {
    ordered_.clear();
    Append(points.data(), points.size(), start, threshold, remove, ordered_);
    points.swap(ordered_);
  }

  // OrderPath's tiles: a list of more than 5000 points is cut into 10 mm
  // tiles, walked row by row in alternating direction.
  void Path(std::vector<TracePoint>& points, TracePoint start, double threshold, bool remove) {
    if (points.size() <= 1) return;
    ordered_.clear();
    if (points.size() <= kTiledAbove) {
      Append(points.data(), points.size(), start, threshold, remove, ordered_);
      points.swap(ordered_);
      return;
    }
    const PathTiles tiles(GetPointBounds(points));
    const int columns = tiles.Columns();
    const int rows = tiles.Rows();
    // The points by tile, each tile's in list order.
    const std::size_t tileCount = tiles.Count();
    tileOf_.resize(points.size());
    tileStart_.assign(tileCount + 1, 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
      tileOf_[i] = tiles.Of(points[i].x, points[i].y);
      ++tileStart_[tileOf_[i] + 1];
    }
    for (std::size_t t = 0; t < tileCount; ++t) tileStart_[t + 1] += tileStart_[t];
    byTile_.resize(points.size());
    fill_.assign(tileStart_.begin(), tileStart_.end() - 1);
    for (std::size_t i = 0; i < points.size(); ++i) byTile_[fill_[tileOf_[i]]++] = points[i];
    TracePoint current = start;
    for (int row = 0; row < rows; ++row) {
      for (int i = 0; i < columns; ++i) {
        const std::size_t t = static_cast<std::size_t>((row % 2 == 0 ? i : columns - 1 - i) + row * columns);
        Append(byTile_.data() + tileStart_[t], tileStart_[t + 1] - tileStart_[t], current, threshold, remove, ordered_);
      }
    }
    points.swap(ordered_);
  }

 private:
  static constexpr std::size_t kTiledAbove = 5000;
  NearestPointIndex index_;
  std::vector<TracePoint> remaining_, ordered_, byTile_;
  std::vector<std::uint8_t> dropped_;
  std::vector<std::uint32_t> tileOf_, tileStart_, fill_;
};

}  // namespace

void OrderByNearestScan(std::vector<TracePoint>& points, TracePoint current, double threshold, bool remove) {
  std::vector<TracePoint> ordered;
  ordered.reserve(points.size());
  NearestOrder().Scan(points.data(), points.size(), current, threshold, remove, ordered);
  points.swap(ordered);
}

void OrderByNearest(std::vector<TracePoint>& points, TracePoint current, double threshold, bool remove) {
  std::vector<TracePoint> ordered;
  ordered.reserve(points.size());
  NearestOrder().Append(points.data(), points.size(), current, threshold, remove, ordered);
  points.swap(ordered);
}

void OrderPath(std::vector<TracePoint>& points, TracePoint start, double threshold, bool remove) {
  NearestOrder().Path(points, start, threshold, remove);
}

std::size_t CutIntoPolylines(std::vector<TracePoint>& pool, TracePolylineArray& result, double gap, double threshold) {
  // A polyline grows by the first pool point (in pool order) that lies within
  // the gap of any of its points. Pool points become candidates when a point
  // near them joins a polyline, so the first candidate is found from a queue
  // instead of by searching every pool point against every polyline point.
  const std::size_t n = pool.size();
  const NeighbourCells cells(pool, gap);
  enum : std::uint8_t { kFree, kQueued, kTaken };
  std::vector<std::uint8_t> state(n, kFree);
  // Points of each cell neither queued nor taken: cells behind the growing
  // polyline are passed over without looking at their points.
  std::vector<std::uint32_t> free(cells.CellCount());
  for (std::size_t c = 0; c < free.size(); ++c) free[c] = static_cast<std::uint32_t>(cells.CellSize(c));
  std::vector<std::size_t> heap;
  NearestOrder order;
  std::size_t total = 0;
  std::size_t first = 0;
  while (true) {
    while (first < n && state[first] == kTaken) ++first;
    if (first >= n) break;
    TracePolyline polyline;
    auto join = [&](std::size_t i) {
      if (state[i] == kFree) --free[cells.CellOf(i)];
      state[i] = kTaken;
      const TracePoint& p = pool[i];
      polyline.push_back(p);
      const std::int32_t* around = cells.Around(i);
      for (int k = 0; k < 9; ++k) {
        if (around[k] < 0 || free[static_cast<std::size_t>(around[k])] == 0) continue;
        const std::size_t c = static_cast<std::size_t>(around[k]);
        for (const NeighbourCells::Entry* e = cells.begin(c); e != cells.end(c); ++e) {
          if (state[e->index] != kFree || !Within(p, {e->x, e->y, e->z}, gap)) continue;
          state[e->index] = kQueued;
          --free[c];
          heap.push_back(e->index);
          std::push_heap(heap.begin(), heap.end(), std::greater<>());
        }
      }
    };
    join(first);
    while (!heap.empty()) {
      std::pop_heap(heap.begin(), heap.end(), std::greater<>());
      const std::size_t next = heap.back();
      heap.pop_back();
      join(next);
    }
    // The whole polyline is ordered at once, whatever its size: in tiles a
    // long outline would be walked tile row by tile row, jumping across the
    // picture from one side to the other within one polyline, marked with
    // the needle down. (The tiles keep the ordering of the whole picture
    // quick; its jumps are where the polylines are cut.)
    const TracePoint start = polyline.front();
    order.Whole(polyline, start, threshold, true);
    if (!polyline.empty()) {
      total += polyline.size();
      result.push_back(std::move(polyline));
    }
  }
  pool.clear();
  return total;
}

bool IsCorner(const TracePoint& previous, const TracePoint& point, const TracePoint& next) {
  const double ax = static_cast<double>(previous.x) - point.x, ay = static_cast<double>(previous.y) - point.y,
               az = static_cast<double>(previous.z) - point.z;
  const double bx = static_cast<double>(next.x) - point.x, by = static_cast<double>(next.y) - point.y,
               bz = static_cast<double>(next.z) - point.z;
  // In a straight line (most points of an outline) the angle is 0 or 180
  // degrees; a cross product lost to rounding leaves it within 1e-15 of
  // those.
  if (az == 0 && bz == 0 && ax * by - ay * bx == 0) return false;
  const double lengths = std::sqrt(ax * ax + ay * ay + az * az) * std::sqrt(bx * bx + by * by + bz * bz);
  if (lengths <= 0.0001) return false;  // an angle of 0
  const double cosine = (ax * bx + ay * by + az * bz) / lengths;
  // The angle is told from its cosine where that lies clearly beyond the
  // cosines of 45 and 145 degrees (acos falls by more than 1.4e-9 radians
  // over 1e-9 there, far more than its rounding); near them it is taken as
  // the degrees themselves.
  static const double kCos45 = std::cos(45 / 57.295779), kCos145 = std::cos(145 / 57.295779);
  constexpr double kMargin = 1e-9;
  if (cosine > kCos45 + kMargin || cosine < kCos145 - kMargin) return false;
  if (cosine < kCos45 - kMargin && cosine > kCos145 + kMargin) return true;
  const double radians = cosine <= -1 ? 3.1415925 : cosine >= 1 ? 0.0 : std::acos(cosine);
  const double degrees = std::fabs(radians * 57.295779);
  return !(degrees > 145 || degrees < 45);
}

std::size_t ReduceToCorners(TracePolyline& polyline) {
  const std::size_t n = polyline.size();
  if (n == 0) return 0;
  TracePolyline kept;
  kept.reserve(n + 1);
  KeepCorners(
      n, [&](std::size_t k) { return polyline[k]; }, IsCorner, [&](const TracePoint& p) { kept.push_back(p); });
  polyline.swap(kept);
  return polyline.size();
}

}  // namespace ravelpen
