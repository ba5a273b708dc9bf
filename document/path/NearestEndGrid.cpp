#include "document/path/NearestEndGrid.h"

#include <algorithm>
#include <cmath>

#include "document/path/NearestEndTree.h"

namespace {

constexpr double kFarAway = 4e298;
constexpr std::size_t kSmall = 64;  // below this the plain scan is as good
constexpr double kCrowded = 256;     // ends per cell a search may weigh before the tree pays

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
  // Entries are int codes of 2 x item + end.
  if (n >= kSmall && n < (std::size_t{1} << 30)) gridded_ = Build();
}

NearestEndGrid::~NearestEndGrid() = default;

bool NearestEndGrid::Build() {
  tree_.reset();
  double minX = kFarAway, minY = kFarAway, maxX = -kFarAway, maxY = -kFarAway;
  for (long i = head_; i >= 0; i = next_[static_cast<std::size_t>(i)]) {
    const HatchSegment& s = items_[static_cast<std::size_t>(i)];
    for (const CDoublePoint* p : {&s.first, &s.second}) {
      if (!Indexable(*p)) return false;
      minX = std::min(minX, p->x);
      minY = std::min(minY, p->y);
      maxX = std::max(maxX, p->x);
      maxY = std::max(maxY, p->y);
    }
  }
  // Near-square cells, about one per item; a box too thin for that still gets
  // no more cells along its length than items. The cells divide the box
  // evenly: a last row or column only a sliver wide would make every search
  // from the box's edge look beyond it.
  const double w = maxX - minX, h = maxY - minY;
  const double target = static_cast<double>(remaining_);
  double cell = std::max(std::sqrt(w * h / target), std::max(w, h) / target);
  if (!(cell > 0) || !std::isfinite(cell)) cell = 1.0;
  minX_ = minX;
  minY_ = minY;
  nx_ = std::max(1, static_cast<int>(std::lround(std::min(w / cell, target))));
  ny_ = std::max(1, static_cast<int>(std::lround(std::min(h / cell, target))));
  cellW_ = w / nx_;
  cellH_ = h / ny_;
  if (!(cellW_ > 0)) cellW_ = 1.0;
  if (!(cellH_ > 0)) cellH_ = 1.0;
  // Cell edges and the cell a point falls in may differ by rounding; the margin covers it.
  tolerance_ = 1e-9 * (cellW_ + cellH_) + 1e-12 * (std::fabs(minX) + std::fabs(minY) + std::fabs(maxX) + std::fabs(maxY));

  const std::size_t cells = static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_);
  start_.assign(cells + 1, 0);
  count_.assign(cells, 0);
  for (long i = head_; i >= 0; i = next_[static_cast<std::size_t>(i)]) {
    const HatchSegment& s = items_[static_cast<std::size_t>(i)];
    const std::size_t a = CellIndex(s.first), b = CellIndex(s.second);
    ++count_[a];
    if (b != a) ++count_[b];
  }
  if (Crowded()) {
    BuildTree();
    return true;
  }
  for (std::size_t c = 0; c < cells; ++c) start_[c + 1] = start_[c] + count_[c];
  entries_.resize(static_cast<std::size_t>(start_.back()));
  std::fill(count_.begin(), count_.end(), 0);
  position_.assign(2 * items_.size(), -1);
  auto place = [&](std::size_t cell, int code) {
    const int at = start_[cell] + count_[cell]++;
    entries_[static_cast<std::size_t>(at)] = code;
    position_[static_cast<std::size_t>(code)] = at;
  };
  for (long i = head_; i >= 0; i = next_[static_cast<std::size_t>(i)]) {
    const HatchSegment& s = items_[static_cast<std::size_t>(i)];
    const std::size_t a = CellIndex(s.first), b = CellIndex(s.second);
    place(a, static_cast<int>(2 * i));
    if (b != a) place(b, static_cast<int>(2 * i + 1));
  }
  return true;
}

bool NearestEndGrid::Crowded() const {
  // The ends a search near an end weighs per cell, on average over the ends:
  // about 3 for ends spread evenly, the size of the crowd where they crowd.
  double ends = 0, weighed = 0;
  for (const int c : count_) {
    ends += c;
    weighed += static_cast<double>(c) * c;
  }
  return weighed > kCrowded * ends;
}

void NearestEndGrid::BuildTree() {
  std::vector<long> present;
  present.reserve(remaining_);
  for (long i = head_; i >= 0; i = next_[static_cast<std::size_t>(i)]) present.push_back(i);
  tree_ = std::make_unique<NearestEndTree>(items_, present);
  // The tree's searches do not widen over the area taken: it is never laid again.
  for (auto* v : {&start_, &count_, &entries_, &position_}) std::vector<int>().swap(*v);
}

bool NearestEndGrid::Indexable(const CDoublePoint& p) {
  constexpr double kLimit = 1e150;
  return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < kLimit && std::fabs(p.y) < kLimit;
}

int NearestEndGrid::CellX(double x) const { return ClampCell(std::floor((x - minX_) / cellW_), nx_); }
int NearestEndGrid::CellY(double y) const { return ClampCell(std::floor((y - minY_) / cellH_), ny_); }
std::size_t NearestEndGrid::CellIndex(const CDoublePoint& p) const {
  return static_cast<std::size_t>(CellY(p.y)) * static_cast<std::size_t>(nx_) + static_cast<std::size_t>(CellX(p.x));
}

long NearestEndGrid::Nearest(const CDoublePoint& p) const {
  if (remaining_ == 0) return -1;
  if (tree_) {
    const long found = tree_->Nearest(p);
    if (found >= 0) return found;
  } else if (gridded_) {
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
  if (!gridded_) return;
  if (tree_) {
    tree_->Remove(i);
    return;
  }
  DropEntry(2 * i);
  DropEntry(2 * i + 1);
  // As the taken area grows, empty cells would slow the ring search: lay the
  // cells anew over what is left.
  if (remaining_ >= kSmall && remaining_ * 8 < count_.size()) gridded_ = Build();
}

void NearestEndGrid::DropEntry(long code) {
  const int at = position_[static_cast<std::size_t>(code)];
  if (at < 0) return;  // the second end shares the first one's cell
  const std::size_t cell = code % 2 == 0 ? CellIndex(items_[static_cast<std::size_t>(code / 2)].first)
                                         : CellIndex(items_[static_cast<std::size_t>(code / 2)].second);
  const int last = start_[cell] + --count_[cell];
  const int moved = entries_[static_cast<std::size_t>(last)];
  entries_[static_cast<std::size_t>(at)] = moved;
  position_[static_cast<std::size_t>(moved)] = at;
  position_[static_cast<std::size_t>(code)] = -1;
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
    for (int e = start_[c], end = start_[c] + count_[c]; e < end; ++e)
      Consider(entries_[static_cast<std::size_t>(e)] / 2, p, best, bestIndex);
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
