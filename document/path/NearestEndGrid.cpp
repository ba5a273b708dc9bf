#include "document/path/NearestEndGrid.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kFarAway = 4e298;

double NearerEndDistance(const HatchSegment& s, const CDoublePoint& p) {
  return std::min(PointDistance(p, s.first), PointDistance(p, s.second));
}

int ClampCell(double v, int n) {
  if (!(v >= 0)) return 0;
  if (v >= n) return n - 1;
  return static_cast<int>(v);
}

}  // namespace

NearestEndGrid::NearestEndGrid(const std::vector<HatchSegment>& items) : items_(items), alive_(items.size(), 1) {
  const std::size_t n = items.size();
  next_.resize(n);
  prev_.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    next_[i] = static_cast<long>(i) + 1;
    prev_[i] = static_cast<long>(i) - 1;
  }
  if (n > 0) next_[n - 1] = -1;
  head_ = n > 0 ? 0 : -1;
  remaining_ = n;
  if (n < 64) return;  // the plain scan is as good

  double minX = kFarAway, minY = kFarAway, maxX = -kFarAway, maxY = -kFarAway;
  for (const HatchSegment& s : items) {
    for (const CDoublePoint* p : {&s.first, &s.second}) {
      if (!std::isfinite(p->x) || !std::isfinite(p->y)) return;
      minX = std::min(minX, p->x);
      minY = std::min(minY, p->y);
      maxX = std::max(maxX, p->x);
      maxY = std::max(maxY, p->y);
    }
  }
  const int side = static_cast<int>(std::clamp(std::sqrt(static_cast<double>(n)), 1.0, 2048.0));
  nx_ = ny_ = side;
  minX_ = minX;
  minY_ = minY;
  cellW_ = (maxX - minX) / nx_;
  cellH_ = (maxY - minY) / ny_;
  if (!(cellW_ > 0)) cellW_ = 1.0;
  if (!(cellH_ > 0)) cellH_ = 1.0;
  // Cell edges and the cell a point falls in may differ by rounding; the margin covers it.
  tolerance_ = 1e-9 * (cellW_ + cellH_) + 1e-12 * (std::fabs(minX) + std::fabs(minY) + std::fabs(maxX) + std::fabs(maxY));

  const std::size_t cells = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
  start_.assign(cells + 1, 0);
  std::vector<int> cellOf(2 * n);
  for (std::size_t i = 0; i < n; ++i) {
    cellOf[2 * i] = CellIndex(items[i].first);
    cellOf[2 * i + 1] = CellIndex(items[i].second);
    ++start_[static_cast<std::size_t>(cellOf[2 * i]) + 1];
    if (cellOf[2 * i + 1] != cellOf[2 * i]) ++start_[static_cast<std::size_t>(cellOf[2 * i + 1]) + 1];
  }
  for (std::size_t c = 1; c < start_.size(); ++c) start_[c] += start_[c - 1];
  entries_.resize(static_cast<std::size_t>(start_.back()));
  std::vector<int> fill(start_.begin(), start_.end() - 1);
  for (std::size_t i = 0; i < n; ++i) {
    const auto a = static_cast<std::size_t>(cellOf[2 * i]);
    const auto b = static_cast<std::size_t>(cellOf[2 * i + 1]);
    entries_[static_cast<std::size_t>(fill[a]++)] = static_cast<int>(i);
    if (b != a) entries_[static_cast<std::size_t>(fill[b]++)] = static_cast<int>(i);
  }
  gridded_ = true;
}

int NearestEndGrid::CellX(double x) const { return ClampCell(std::floor((x - minX_) / cellW_), nx_); }
int NearestEndGrid::CellY(double y) const { return ClampCell(std::floor((y - minY_) / cellH_), ny_); }
int NearestEndGrid::CellIndex(const CDoublePoint& p) const { return CellY(p.y) * nx_ + CellX(p.x); }

long NearestEndGrid::Nearest(const CDoublePoint& p) const {
  if (remaining_ == 0) return -1;
  if (gridded_) {
    const long found = GridNearest(p);
    if (found >= 0) return found;
  }
  return ScanNearest(p);
}

void NearestEndGrid::Remove(long i) {
  const auto u = static_cast<std::size_t>(i);
  if (i < 0 || u >= alive_.size() || !alive_[u]) return;
  alive_[u] = 0;
  --remaining_;
  const long nx = next_[u], pv = prev_[u];
  if (pv >= 0)
    next_[static_cast<std::size_t>(pv)] = nx;
  else
    head_ = nx;
  if (nx >= 0) prev_[static_cast<std::size_t>(nx)] = pv;
}

void NearestEndGrid::Consider(long i, const CDoublePoint& p, double& best, long& bestIndex) const {
  const double d = NearerEndDistance(items_[static_cast<std::size_t>(i)], p);
  if (d < best || (d == best && bestIndex >= 0 && i < bestIndex)) {
    best = d;
    bestIndex = i;
  }
}

long NearestEndGrid::ScanNearest(const CDoublePoint& p) const {
  double best = kFarAway;
  long bestIndex = -1;
  for (long i = head_; i >= 0; i = next_[static_cast<std::size_t>(i)]) {
    const double d = NearerEndDistance(items_[static_cast<std::size_t>(i)], p);
    if (d < best) {
      best = d;
      bestIndex = i;
    }
  }
  return bestIndex >= 0 ? bestIndex : head_;
}

long NearestEndGrid::GridNearest(const CDoublePoint& p) const {
  const int cx = CellX(p.x), cy = CellY(p.y);
  double best = kFarAway;
  long bestIndex = -1;
  std::size_t visited = 0;
  const std::size_t budget = 4 * remaining_ + 16;
  auto visit = [&](int x, int y) {
    const std::size_t c = static_cast<std::size_t>(y) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(x);
    for (int e = start_[c]; e < start_[c + 1]; ++e) {
      const long i = entries_[static_cast<std::size_t>(e)];
      if (alive_[static_cast<std::size_t>(i)]) Consider(i, p, best, bestIndex);
    }
    ++visited;
  };
  for (int r = 0;; ++r) {
    const int x0 = cx - r, x1 = cx + r, y0 = cy - r, y1 = cy + r;
    const int xa = std::max(x0, 0), xb = std::min(x1, nx_ - 1);
    const int ya = std::max(y0 + 1, 0), yb = std::min(y1 - 1, ny_ - 1);
    // The ring of cells at distance r: top and bottom rows, then the side columns.
    if (y0 >= 0)
      for (int x = xa; x <= xb; ++x) visit(x, y0);
    if (r > 0 && y1 < ny_)
      for (int x = xa; x <= xb; ++x) visit(x, y1);
    if (r > 0) {
      if (x0 >= 0)
        for (int y = ya; y <= yb; ++y) visit(x0, y);
      if (x1 < nx_)
        for (int y = ya; y <= yb; ++y) visit(x1, y);
    }
    if (x0 <= 0 && y0 <= 0 && x1 >= nx_ - 1 && y1 >= ny_ - 1) return bestIndex;
    if (bestIndex >= 0) {
      // Nothing outside the searched square is nearer than its border.
      double bound = kFarAway;
      if (x0 > 0) bound = std::min(bound, p.x - (minX_ + x0 * cellW_));
      if (x1 < nx_ - 1) bound = std::min(bound, (minX_ + (x1 + 1) * cellW_) - p.x);
      if (y0 > 0) bound = std::min(bound, p.y - (minY_ + y0 * cellH_));
      if (y1 < ny_ - 1) bound = std::min(bound, (minY_ + (y1 + 1) * cellH_) - p.y);
      if (bound > best + tolerance_) return bestIndex;
    }
    if (visited > budget) return -1;
  }
}
