#include "libs/ravelpen/TraceSteps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <unordered_map>

namespace ravelpen {
namespace {

double Distance(const TracePoint& a, const TracePoint& b) {
  const double dx = static_cast<double>(a.x) - b.x;
  const double dy = static_cast<double>(a.y) - b.y;
  const double dz = static_cast<double>(a.z) - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Points by square cells, for "which points lie within the cell size". A
// dense table of cells when the bounds are not much larger than the points
// need, else a hash of the occupied cells.
class CellIndex {
 public:
  CellIndex(const std::vector<TracePoint>& points, double cell) : cell_(cell) {
    if (points.empty()) return;
    double maxX = points[0].x, maxY = points[0].y;
    minX_ = points[0].x;
    minY_ = points[0].y;
    for (const TracePoint& p : points) {
      minX_ = std::min<double>(minX_, p.x);
      minY_ = std::min<double>(minY_, p.y);
      maxX = std::max<double>(maxX, p.x);
      maxY = std::max<double>(maxY, p.y);
    }
    columns_ = static_cast<long long>((maxX - minX_) / cell_) + 1;
    rows_ = static_cast<long long>((maxY - minY_) / cell_) + 1;
    dense_ = columns_ > 0 && rows_ > 0 && columns_ * rows_ <= 8 * static_cast<long long>(points.size()) + 4096;
    if (dense_) {
      start_.assign(static_cast<std::size_t>(columns_ * rows_) + 1, 0);
      for (const TracePoint& p : points) ++start_[DenseCell(p) + 1];
      for (std::size_t i = 1; i < start_.size(); ++i) start_[i] += start_[i - 1];
      entries_.resize(points.size());
      std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
      for (std::size_t i = 0; i < points.size(); ++i) entries_[fill[DenseCell(points[i])]++] = static_cast<std::uint32_t>(i);
    } else {
      for (std::size_t i = 0; i < points.size(); ++i)
        cells_[Pack(Coord(points[i].x, minX_), Coord(points[i].y, minY_))].push_back(static_cast<std::uint32_t>(i));
    }
  }

  template <typename F>
  void ForEachNear(const TracePoint& p, F&& visit) const {
    const long long cx = Coord(p.x, minX_);
    const long long cy = Coord(p.y, minY_);
    for (long long y = cy - 1; y <= cy + 1; ++y)
      for (long long x = cx - 1; x <= cx + 1; ++x) {
        if (dense_) {
          if (x < 0 || y < 0 || x >= columns_ || y >= rows_) continue;
          const std::size_t c = static_cast<std::size_t>(y * columns_ + x);
          for (std::uint32_t k = start_[c]; k < start_[c + 1]; ++k) visit(entries_[k]);
        } else {
          const auto found = cells_.find(Pack(x, y));
          if (found == cells_.end()) continue;
          for (std::uint32_t i : found->second) visit(i);
        }
      }
  }

 private:
  long long Coord(double v, double min) const { return static_cast<long long>(std::floor((v - min) / cell_)); }
  std::size_t DenseCell(const TracePoint& p) const {
    const long long x = std::min(Coord(p.x, minX_), columns_ - 1);
    const long long y = std::min(Coord(p.y, minY_), rows_ - 1);
    return static_cast<std::size_t>(y * columns_ + x);
  }
  static long long Pack(long long x, long long y) { return (y << 32) ^ (x & 0xFFFFFFFFll); }

  double cell_;
  double minX_ = 0.0;
  double minY_ = 0.0;
  long long columns_ = 0;
  long long rows_ = 0;
  bool dense_ = false;
  std::vector<std::uint32_t> start_;
  std::vector<std::uint32_t> entries_;
  std::unordered_map<long long, std::vector<std::uint32_t>> cells_;
};

}  // namespace

PointBounds GetPointBounds(const std::vector<TracePoint>& points) {
  PointBounds b;
  if (points.empty()) return b;
  double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (const TracePoint& p : points) {
    minX = std::min<double>(minX, p.x);
    maxX = std::max<double>(maxX, p.x);
    minY = std::min<double>(minY, p.y);
    maxY = std::max<double>(maxY, p.y);
  }
  b.width = maxX - minX;
  b.height = maxY - minY;
  b.centreX = (minX + maxX) / 2;
  b.centreY = (minY + maxY) / 2;
  return b;
}

void ThinOnGrid(std::vector<TracePoint>& points, double c) {
  if (points.empty()) return;
  double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
  for (const TracePoint& p : points) {
    minX = std::min<double>(minX, p.x);
    maxX = std::max<double>(maxX, p.x);
    minY = std::min<double>(minY, p.y);
    maxY = std::max<double>(maxY, p.y);
  }
  const double h = c / 2;
  const long long columns = static_cast<long long>((maxX - minX + h) / c) + 1;
  const long long rows = static_cast<long long>((maxY - minY + h) / c) + 1;
  // Cells are found by key = row * columns + column, so ascending keys run
  // row by row from the least y, left to right. A dense table when the grid
  // is not much larger than the outline, else only the occupied cells.
  struct Cell {
    long long key;
    TracePoint point;
    bool corner;
  };
  std::vector<Cell> cells;
  const bool dense = columns * rows <= 8 * static_cast<long long>(points.size()) + 4096;
  std::vector<std::int32_t> table(dense ? static_cast<std::size_t>(columns * rows) : 0, -1);
  std::unordered_map<long long, std::size_t> byKey;
  if (!dense) byKey.reserve(points.size());
  auto find = [&](long long key) -> long long {
    if (dense) return table[static_cast<std::size_t>(key)];
    const auto found = byKey.find(key);
    return found == byKey.end() ? -1 : static_cast<long long>(found->second);
  };
  for (const TracePoint& p : points) {
    const long long column = static_cast<long long>((p.x - minX + 0.2 * c) / c);
    const long long row = static_cast<long long>((p.y - minY + 0.2 * c) / c);
    const long long key = row * columns + column;
    const long long at = find(key);
    if (at >= 0) {
      cells[static_cast<std::size_t>(at)].point = p;  // a later point replaces an earlier one
      continue;
    }
    if (dense)
      table[static_cast<std::size_t>(key)] = static_cast<std::int32_t>(cells.size());
    else
      byKey.emplace(key, cells.size());
    cells.push_back({key, p, true});
  }
  std::vector<std::size_t> order;
  order.reserve(cells.size());
  if (dense) {
    for (std::int32_t at : table)
      if (at >= 0) order.push_back(static_cast<std::size_t>(at));
  } else {
    for (std::size_t i = 0; i < cells.size(); ++i) order.push_back(i);
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return cells[a].key < cells[b].key; });
  }
  auto corner = [&](long long key) {
    const long long at = find(key);
    return at >= 0 && cells[static_cast<std::size_t>(at)].corner;
  };
  for (std::size_t index : order) {
    Cell& cell = cells[index];
    const long long row = cell.key / columns;
    const long long column = cell.key % columns;
    const bool above = row + 1 < rows;
    const bool below = row > 0;
    const bool left = column > 0 && corner(cell.key - 1);
    const bool right = column + 1 < columns && corner(cell.key + 1);
    const bool up = above && corner(cell.key + columns);
    const bool down = below && corner(cell.key - columns);
    if (above && left && up) {
      cell.point.x -= static_cast<float>(h), cell.point.y += static_cast<float>(h);
    } else if (above && right && up) {
      cell.point.x += static_cast<float>(h), cell.point.y += static_cast<float>(h);
    } else if (below && left && down) {
      cell.point.x -= static_cast<float>(h), cell.point.y -= static_cast<float>(h);
    } else if (below && right && down) {
      cell.point.x += static_cast<float>(h), cell.point.y -= static_cast<float>(h);
    }
    cell.corner = false;
  }
  points.clear();
  points.reserve(order.size());
  for (std::size_t index : order) points.push_back(cells[index].point);
}

void OrderByNearestScan(std::vector<TracePoint>& points, TracePoint current, double threshold, bool remove) {
  std::vector<TracePoint> remaining;
  remaining.swap(points);
  points.reserve(remaining.size());
  std::vector<TracePoint> next;
  next.reserve(remaining.size());
  std::vector<bool> dropped;
  while (!remaining.empty()) {
    std::size_t best = 0;
    double bestDistance = Distance(current, remaining[0]);
    dropped.assign(remaining.size(), false);
    for (std::size_t i = 1; i < remaining.size(); ++i) {
      const double d = Distance(current, remaining[i]);
      if (remove && d < threshold) {
        dropped[i] = true;
      } else if (d < bestDistance) {
        best = i;
        bestDistance = d;
      }
    }
    current = remaining[best];
    points.push_back(current);
    next.clear();
    for (std::size_t i = 0; i < remaining.size(); ++i)
      if (i != best && !dropped[i]) next.push_back(remaining[i]);
    remaining.swap(next);
  }
}

namespace {

// The same greedy order as the scan, found through a grid: the first
// remaining point (which the scan never drops and prefers on ties) starts as
// the candidate, then rings of cells around the current point are searched
// until no unvisited cell can hold anything nearer.
class NearestGrid {
 public:
  NearestGrid(const std::vector<TracePoint>& points, double cell) : points_(points), cell_(cell) {
    double minX = points[0].x, maxX = minX, minY = points[0].y, maxY = minY;
    for (const TracePoint& p : points) {
      minX = std::min<double>(minX, p.x);
      maxX = std::max<double>(maxX, p.x);
      minY = std::min<double>(minY, p.y);
      maxY = std::max<double>(maxY, p.y);
    }
    minX_ = minX;
    minY_ = minY;
    columns_ = static_cast<long long>((maxX - minX) / cell_) + 1;
    rows_ = static_cast<long long>((maxY - minY) / cell_) + 1;
    cells_.resize(static_cast<std::size_t>(columns_ * rows_));
    for (std::size_t i = 0; i < points.size(); ++i) cells_[CellOf(points[i])].push_back(static_cast<std::uint32_t>(i));
    alive_.assign(points.size(), true);
  }

  void Order(std::vector<TracePoint>& out, TracePoint current, double threshold, bool remove) {
    std::size_t first = 0;
    std::size_t left = points_.size();
    while (left > 0) {
      while (!alive_[first]) ++first;
      if (remove) {
        ForCells(current, static_cast<long long>(std::ceil(threshold / cell_)), [&](std::size_t i) {
          if (i != first && Distance(current, points_[i]) < threshold) {
            alive_[i] = false;
            --left;
          }
        });
      }
      std::size_t best = first;
      double bestDistance = Distance(current, points_[first]);
      const long long cx = Column(current.x);
      const long long cy = Row(current.y);
      const long long reach = std::max(columns_, rows_) + 2;
      for (long long ring = 0; ring <= reach; ++ring) {
        // Everything outside rings 0..ring-1 lies at least (ring - 1) cells
        // away; once the candidate is strictly nearer, nothing can beat it.
        if (ring >= 2 && bestDistance < (ring - 1) * cell_) break;
        ForRing(cx, cy, ring, [&](std::size_t i) {
          const double d = Distance(current, points_[i]);
          if (d < bestDistance || (d == bestDistance && i < best)) {
            best = i;
            bestDistance = d;
          }
        });
      }
      alive_[best] = false;
      --left;
      current = points_[best];
      out.push_back(current);
    }
  }

 private:
  long long Column(double x) const {
    return std::clamp<long long>(static_cast<long long>(std::floor((x - minX_) / cell_)), -1, columns_);
  }
  long long Row(double y) const {
    return std::clamp<long long>(static_cast<long long>(std::floor((y - minY_) / cell_)), -1, rows_);
  }
  std::size_t CellOf(const TracePoint& p) const {
    return static_cast<std::size_t>(std::min(Row(p.y), rows_ - 1) * columns_ + std::min(Column(p.x), columns_ - 1));
  }
  template <typename F>
  void Visit(long long x, long long y, F& visit) {
    if (x < 0 || y < 0 || x >= columns_ || y >= rows_) return;
    const std::vector<std::uint32_t>& cell = cells_[static_cast<std::size_t>(y * columns_ + x)];
    for (std::uint32_t i : cell)
      if (alive_[i]) visit(i);
  }
  template <typename F>
  void ForRing(long long cx, long long cy, long long ring, F&& visit) {
    if (ring == 0) {
      Visit(cx, cy, visit);
      return;
    }
    for (long long x = cx - ring; x <= cx + ring; ++x) {
      Visit(x, cy - ring, visit);
      Visit(x, cy + ring, visit);
    }
    for (long long y = cy - ring + 1; y <= cy + ring - 1; ++y) {
      Visit(cx - ring, y, visit);
      Visit(cx + ring, y, visit);
    }
  }
  template <typename F>
  void ForCells(const TracePoint& p, long long radius, F&& visit) {
    const long long cx = Column(p.x);
    const long long cy = Row(p.y);
    for (long long y = cy - radius; y <= cy + radius; ++y)
      for (long long x = cx - radius; x <= cx + radius; ++x) Visit(x, y, visit);
  }

  const std::vector<TracePoint>& points_;
  double cell_;
  double minX_ = 0.0;
  double minY_ = 0.0;
  long long columns_ = 1;
  long long rows_ = 1;
  std::vector<std::vector<std::uint32_t>> cells_;
  std::vector<bool> alive_;
};

}  // namespace

void OrderByNearest(std::vector<TracePoint>& points, TracePoint current, double threshold, bool remove) {
  // Short lists and points off the plane (z is 0 in tracing) take the scan.
  bool flat = true;
  for (const TracePoint& p : points) flat = flat && p.z == 0.0f && current.z == 0.0f;
  if (points.size() < 64 || !flat) {
    OrderByNearestScan(points, current, threshold, remove);
    return;
  }
  const PointBounds b = GetPointBounds(points);
  const double area = std::max(b.width, 1e-6) * std::max(b.height, 1e-6);
  // Outlines are curves: cells of about four point spacings hold a few
  // points each; never more cells than a few per point.
  const double spacing = std::sqrt(area / static_cast<double>(points.size()));
  double cell = std::min(spacing, 1.0);
  const double floor = std::sqrt(area / (4.0 * static_cast<double>(points.size())));
  cell = std::max({cell, floor, 1e-3});
  NearestGrid grid(points, cell);
  std::vector<TracePoint> ordered;
  ordered.reserve(points.size());
  grid.Order(ordered, current, threshold, remove);
  points.swap(ordered);
}

void OrderPath(std::vector<TracePoint>& points, TracePoint start, double threshold, bool remove) {
  if (points.size() <= 1) return;
  if (points.size() <= 5000) {
    OrderByNearest(points, start, threshold, remove);
    return;
  }
  const PointBounds b = GetPointBounds(points);
  auto tiles = [](double extent) {
    int n = static_cast<int>(extent * 0.1);
    if (extent - n * 10.0 > 0) ++n;
    return std::max(n, 1);
  };
  const int columns = tiles(b.width);
  const int rows = tiles(b.height);
  std::vector<std::vector<TracePoint>> tile(static_cast<std::size_t>(columns) * rows);
  for (const TracePoint& p : points) {
    int column = static_cast<int>((p.x - b.centreX + b.width / 2) * 0.1);
    if (column * 10.0 >= b.width) --column;
    int row = static_cast<int>((p.y - b.centreY + b.height / 2) * 0.1);
    if (row * 10.0 >= b.height) --row;
    const long long index = std::clamp<long long>(column + static_cast<long long>(row) * columns, 0,
                                                  static_cast<long long>(tile.size()) - 1);
    tile[static_cast<std::size_t>(index)].push_back(p);
  }
  points.clear();
  TracePoint current = start;
  for (int row = 0; row < rows; ++row) {
    for (int i = 0; i < columns; ++i) {
      const int column = row % 2 == 0 ? i : columns - 1 - i;
      std::vector<TracePoint>& t = tile[static_cast<std::size_t>(column + row * columns)];
      if (t.empty()) continue;
      OrderByNearest(t, current, threshold, remove);
      points.insert(points.end(), t.begin(), t.end());
      current = points.back();
    }
  }
}

std::size_t CutIntoPolylines(std::vector<TracePoint>& pool, TracePolylineArray& result, double gap, double threshold) {
  // A polyline grows by the first pool point (in pool order) that lies within
  // the gap of any of its points. Pool points become candidates when a point
  // near them joins a polyline, so the first candidate is found from a queue
  // instead of by searching every pool point against every polyline point.
  const std::size_t n = pool.size();
  const CellIndex index(pool, gap);
  std::vector<bool> taken(n, false);
  std::vector<bool> queued(n, false);
  std::size_t total = 0;
  std::size_t first = 0;
  while (true) {
    while (first < n && taken[first]) ++first;
    if (first >= n) break;
    TracePolyline polyline;
    std::priority_queue<std::size_t, std::vector<std::size_t>, std::greater<>> candidates;
    auto join = [&](std::size_t i) {
      taken[i] = true;
      polyline.push_back(pool[i]);
      index.ForEachNear(pool[i], [&](std::size_t j) {
        if (!taken[j] && !queued[j] && Distance(pool[i], pool[j]) < gap) {
          queued[j] = true;
          candidates.push(j);
        }
      });
    };
    join(first);
    while (!candidates.empty()) {
      const std::size_t next = candidates.top();
      candidates.pop();
      if (!taken[next]) join(next);
    }
    const TracePoint start = polyline.front();
    OrderPath(polyline, start, threshold, true);
    if (!polyline.empty()) {
      total += polyline.size();
      result.push_back(std::move(polyline));
    }
  }
  pool.clear();
  return total;
}

std::size_t ReduceToCorners(TracePolyline& polyline) {
  const std::size_t n = polyline.size();
  if (n == 0) return 0;
  // Removing point c leaves the same position to be tested against its new
  // neighbours, so the survivors can be collected in one pass.
  TracePolyline kept;
  kept.reserve(n + 1);
  kept.push_back(polyline[0]);
  for (std::size_t c = 1; c < n; ++c) {
    const TracePoint& prev = kept.back();
    const TracePoint& point = polyline[c];
    const TracePoint& next = c + 1 < n ? polyline[c + 1] : polyline[0];
    const double ax = static_cast<double>(prev.x) - point.x, ay = static_cast<double>(prev.y) - point.y,
                 az = static_cast<double>(prev.z) - point.z;
    const double bx = static_cast<double>(next.x) - point.x, by = static_cast<double>(next.y) - point.y,
                 bz = static_cast<double>(next.z) - point.z;
    const double lengths = std::sqrt(ax * ax + ay * ay + az * az) * std::sqrt(bx * bx + by * by + bz * bz);
    double radians = 0.0;
    if (lengths > 0.0001) {
      const double cosine = (ax * bx + ay * by + az * bz) / lengths;
      radians = cosine <= -1 ? 3.1415925 : cosine >= 1 ? 0.0 : std::acos(cosine);
    }
    const double degrees = std::fabs(radians * 57.295779);
    if (degrees > 145 || degrees < 45) continue;
    kept.push_back(point);
  }
  kept.push_back(kept[0]);
  polyline.swap(kept);
  return polyline.size();
}

}  // namespace ravelpen
