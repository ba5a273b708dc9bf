#include "libs/ravelpen/NearestPointIndex.h"

#include <algorithm>
#include <cmath>

namespace ravelpen {
namespace {

// Cells per point, at least and at most.
constexpr double kFewestCellsPerPoint = 0.5;
constexpr double kMostCellsPerPoint = 8.0;
// Cell side in point spacings along a path.
constexpr double kSpacingsPerCell = 2.0;
constexpr std::size_t kSpacingSamples = 64;
// Bounds from cell edges are lowered, and squared distances raised, by this
// much for rounding, so that no point that could beat or tie the candidate is
// passed over.
constexpr double kBoundSlack = 1.0 - 1e-9;
constexpr double kSquareSlack = 1.0 + 1e-9;

// Side s of near-square cells so that (w / s + 1) (h / s + 1) is about `cells`.
double CellSide(double w, double h, double cells) {
  if (cells <= 1.0 || (w <= 0.0 && h <= 0.0)) return std::max({w, h, 1.0});
  double perSide;  // 1 / s
  if (w > 0.0 && h > 0.0)
    perSide = (-(w + h) + std::sqrt((w + h) * (w + h) + 4.0 * w * h * (cells - 1.0))) / (2.0 * w * h);
  else
    perSide = (cells - 1.0) / (w + h);
  const double side = 1.0 / perSide;
  return std::isfinite(side) && side > 0.0 ? side : std::max({w, h, 1.0});
}

// The typical step between neighbours in the list: outlines come ordered
// along their path, so this is their point spacing. The median of a sample
// of steps, 0 when the sample says nothing.
double TypicalStep(const TracePoint* points, std::size_t n) {
  if (n < 2) return 0.0;
  double steps[kSpacingSamples + 1];
  std::size_t found = 0;
  const std::size_t stride = std::max<std::size_t>(1, (n - 1) / kSpacingSamples);
  for (std::size_t i = 0; i + 1 < n && found <= kSpacingSamples; i += stride) {
    const double d = PointDistance(points[i], points[i + 1]);
    if (d > 0.0) steps[found++] = d;
  }
  if (found == 0) return 0.0;
  std::nth_element(steps, steps + found / 2, steps + found);
  return steps[found / 2];
}

}  // namespace

void NearestPointIndex::Build(const TracePoint* points, std::size_t n) {
  points_ = points;
  remaining_ = n;
  first_ = 0;
  present_.assign(n, 1);
  if (n == 0) return;
  const PointExtent extent = GetPointExtent(points, n);
  minX_ = extent.minX;
  minY_ = extent.minY;
  const double maxX = extent.maxX, maxY = extent.maxY;
  // Cells of a couple of point spacings, so that the next point along a path
  // lies in the cell of the current one or next to it; as many as a spread
  // of points needs at the least, and a bounded number at the most.
  const double w = maxX - minX_, h = maxY - minY_, count = static_cast<double>(n);
  const double side = kSpacingsPerCell * TypicalStep(points, n);
  double cells = side > 0.0 ? (w / side + 1.0) * (h / side + 1.0) : 0.0;
  cells = std::clamp(cells, std::max(1.0, kFewestCellsPerPoint * count), std::max(1.0, kMostCellsPerPoint * count));
  cell_ = CellSide(w, h, cells);
  // Never more than a few cells a point, whatever the rounding.
  const double limit = 2.0 * cells + 16.0;
  for (;;) {
    columns_ = static_cast<long long>(std::min(w / cell_, limit)) + 1;
    rows_ = static_cast<long long>(std::min(h / cell_, limit)) + 1;
    if (static_cast<double>(columns_) * static_cast<double>(rows_) <= limit) break;
    cell_ *= 2.0;
  }
  perCell_ = 1.0 / cell_;
  const std::size_t cellCount = static_cast<std::size_t>(columns_ * rows_);
  cells_.assign(cellCount, {0, 0});
  cellOf_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    cellOf_[i] = static_cast<std::uint32_t>(CellOf(points[i]));
    ++cells_[cellOf_[i]].count;
  }
  fill_.resize(cellCount);
  for (std::size_t c = 0, start = 0; c < cellCount; ++c) {
    cells_[c].start = static_cast<std::uint32_t>(start);
    fill_[c] = cells_[c].start;
    start += cells_[c].count;
  }
  entries_.resize(n);
  position_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    position_[i] = fill_[cellOf_[i]]++;
    entries_[position_[i]] = {points[i].x, points[i].y, static_cast<std::uint32_t>(i)};
  }
}

namespace {

// floor(v) as an integer, v kept within reach of one; without a call into
// the maths library, which the baseline processor needs for floor.
long long FloorOf(double v) {
  v = std::clamp(v, -1e15, 1e15);
  const long long i = static_cast<long long>(v);
  return v < static_cast<double>(i) ? i - 1 : i;
}

}  // namespace

long long NearestPointIndex::Column(double x) const { return FloorOf((x - minX_) * perCell_); }

long long NearestPointIndex::Row(double y) const { return FloorOf((y - minY_) * perCell_); }

std::size_t NearestPointIndex::CellOf(const TracePoint& p) const {
  const long long x = std::clamp<long long>(Column(p.x), 0, columns_ - 1);
  const long long y = std::clamp<long long>(Row(p.y), 0, rows_ - 1);
  return static_cast<std::size_t>(y * columns_ + x);
}

double NearestPointIndex::CellSquare(const TracePoint& p, long long x, long long y) const {
  // The outer cells also hold the points beyond the grid's edge.
  const double left = x > 0 ? minX_ + static_cast<double>(x) * cell_ : -HUGE_VAL;
  const double right = x + 1 < columns_ ? minX_ + static_cast<double>(x + 1) * cell_ : HUGE_VAL;
  const double bottom = y > 0 ? minY_ + static_cast<double>(y) * cell_ : -HUGE_VAL;
  const double top = y + 1 < rows_ ? minY_ + static_cast<double>(y + 1) * cell_ : HUGE_VAL;
  const double dx = std::max({left - p.x, static_cast<double>(p.x) - right, 0.0});
  const double dy = std::max({bottom - p.y, static_cast<double>(p.y) - top, 0.0});
  return (dx * dx + dy * dy) * kBoundSlack;
}

std::size_t NearestPointIndex::First() {
  while (!present_[first_]) ++first_;
  return first_;
}

template <typename F>
void NearestPointIndex::VisitRow(long long y, long long x0, long long x1, F&& visit) const {
  if (y < 0 || y >= rows_) return;
  x0 = std::max<long long>(x0, 0);
  x1 = std::min<long long>(x1, columns_ - 1);
  for (long long x = x0; x <= x1; ++x) {
    const std::size_t c = static_cast<std::size_t>(y * columns_ + x);
    const Entry* entry = entries_.data() + cells_[c].start;
    for (std::uint32_t k = 0; k < cells_[c].count; ++k) visit(entry[k]);
  }
}

std::size_t NearestPointIndex::TakeNearest(const TracePoint& p, double dropRadius) {
  const std::size_t keep = First();
  const long long cx = Column(p.x);
  const long long cy = Row(p.y);
  const bool inGrid = cx >= 0 && cy >= 0 && cx < columns_ && cy < rows_;
  // Dropping is done in the same pass as the search when every point within
  // the radius lies in p's cell or the eight around it; otherwise first.
  const bool dropHere = dropRadius > 0.0 && dropRadius < cell_ * kBoundSlack && inGrid;
  if (dropRadius > 0.0 && !dropHere) RemoveWithin(p, dropRadius, keep);
  std::size_t best = keep;
  double bestDistance = PointDistance(p, points_[best]);
  // Squares are compared first; a square that is not plainly larger goes on
  // to the distance itself, so ties are told exactly as the scan tells them.
  double bestSquare = bestDistance * bestDistance * kSquareSlack;
  const double dropSquare = dropHere ? dropRadius * dropRadius * kSquareSlack : 0.0;
  dropped_.clear();
  auto consider = [&](const Entry& e) {
    const double dx = static_cast<double>(p.x) - e.x;
    const double dy = static_cast<double>(p.y) - e.y;
    const double square = dx * dx + dy * dy;
    if (square > bestSquare && square > dropSquare) return;
    const double d = std::sqrt(square);
    if (dropHere && d < dropRadius && e.index != keep) {
      dropped_.push_back(e.index);
      return;
    }
    if (d < bestDistance || (d == bestDistance && e.index < best)) {
      best = e.index;
      bestDistance = d;
      bestSquare = d * d * kSquareSlack;
    }
  };
  auto scanCell = [&](std::size_t c) {
    const Entry* entry = entries_.data() + cells_[c].start;
    for (const Entry* end = entry + cells_[c].count; entry != end; ++entry) consider(*entry);
  };
  auto visitCell = [&](long long x, long long y) {
    if (x < 0 || y < 0 || x >= columns_ || y >= rows_) return;
    const std::size_t c = static_cast<std::size_t>(y * columns_ + x);
    if (cells_[c].count == 0 || CellSquare(p, x, y) > std::max(bestSquare, dropSquare)) return;
    scanCell(c);
  };
  long long ring = std::max({-cx, cx - (columns_ - 1), -cy, cy - (rows_ - 1), 0ll});  // nearer rings are empty
  if (inGrid) {
    // The cell of p, then the eight around it, each passed over when p is
    // farther from it than from the candidate (and the radius).
    scanCell(static_cast<std::size_t>(cy * columns_ + cx));
    const double left = std::max(0.0, p.x - (minX_ + static_cast<double>(cx) * cell_));
    const double below = std::max(0.0, p.y - (minY_ + static_cast<double>(cy) * cell_));
    const double right = std::max(0.0, cell_ - left), above = std::max(0.0, cell_ - below);
    const double toLeft = left * left * kBoundSlack, toRight = right * right * kBoundSlack;
    const double toBelow = below * below * kBoundSlack, toAbove = above * above * kBoundSlack;
    if (std::max(bestSquare, dropSquare) >= std::min({toLeft, toRight, toBelow, toAbove})) {
      const long long x0 = std::max(cx - 1, 0ll), x1 = std::min(cx + 1, columns_ - 1);
      const long long y0 = std::max(cy - 1, 0ll), y1 = std::min(cy + 1, rows_ - 1);
      for (long long y = y0; y <= y1; ++y) {
        const double upDown = y < cy ? toBelow : y > cy ? toAbove : 0.0;
        for (long long x = x0; x <= x1; ++x) {
          const std::size_t c = static_cast<std::size_t>(y * columns_ + x);
          if ((x == cx && y == cy) || cells_[c].count == 0) continue;
          const double bound = upDown + (x < cx ? toLeft : x > cx ? toRight : 0.0);
          if (bound <= std::max(bestSquare, dropSquare)) scanCell(c);
        }
      }
    }
    ring = 2;
  }
  if (ring < 2 || bestDistance >= cell_ * kBoundSlack) {
    // The ring that reaches the farthest cell of the grid.
    const long long lastRing = std::max({cx, columns_ - 1 - cx, cy, rows_ - 1 - cy, 0ll});
    for (; ring <= lastRing; ++ring) {
      // Whatever lies beyond rings 0..ring-1 is at least ring - 1 cells away;
      // once the candidate is nearer than that, nothing can beat or tie it.
      if (ring >= 2 && bestDistance < static_cast<double>(ring - 1) * cell_ * kBoundSlack) break;
      const long long x0 = cx - ring, x1 = cx + ring, y0 = cy - ring, y1 = cy + ring;
      for (long long x = std::max(x0, 0ll); x <= std::min(x1, columns_ - 1); ++x) {
        visitCell(x, y0);
        visitCell(x, y1);
      }
      for (long long y = std::max(y0 + 1, 0ll); y <= std::min(y1 - 1, rows_ - 1); ++y) {
        visitCell(x0, y);
        visitCell(x1, y);
      }
    }
  }
  for (std::uint32_t i : dropped_) Remove(i);
  Remove(best);
  return best;
}

void NearestPointIndex::RemoveWithin(const TracePoint& p, double radius, std::size_t keep) {
  // The cells the circle reaches, widened for the rounding of their edges.
  const double reach = radius * (1.0 + 1e-9) + 1e-9;
  const long long x0 = Column(p.x - reach), x1 = Column(p.x + reach);
  const long long y0 = Row(p.y - reach), y1 = Row(p.y + reach);
  removed_.clear();
  const double inside = radius * radius / kSquareSlack;
  const double outside = radius * radius * kSquareSlack;
  for (long long y = y0; y <= y1; ++y)
    VisitRow(y, x0, x1, [&](const Entry& e) {
      if (e.index == keep) return;
      const double dx = static_cast<double>(p.x) - e.x;
      const double dy = static_cast<double>(p.y) - e.y;
      const double square = dx * dx + dy * dy;
      if (square < inside || (square <= outside && std::sqrt(square) < radius)) removed_.push_back(e.index);
    });
  for (std::uint32_t i : removed_) Remove(i);
}

void NearestPointIndex::Remove(std::size_t i) {
  if (!present_[i]) return;
  present_[i] = 0;
  --remaining_;
  const std::uint32_t c = cellOf_[i];
  const std::uint32_t last = cells_[c].start + --cells_[c].count;
  const std::uint32_t at = position_[i];
  entries_[at] = entries_[last];
  position_[entries_[at].index] = at;
}

}  // namespace ravelpen
