#include "document/path/PointOrdering.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace {

template <typename Key>
void QuickSort(CDoublePoint* a, int first, int last, Key key) {
  // Recursing into the smaller part and looping on the larger keeps the stack
  // shallow; the parts are disjoint, so the result is the same.
  while (first < last) {
    CDoublePoint pivot = a[(first + last) / 2];
    int i = first, j = last;
    do {
      while (key(a[i]) < key(pivot) && i < last) ++i;
      while (key(pivot) < key(a[j]) && j > first) --j;
      if (j < i) break;
      std::swap(a[i], a[j]);
      ++i;
      --j;
    } while (j >= i);
    if (j - first < last - i) {
      if (first < j) QuickSort(a, first, j, key);
      first = i;
    } else {
      if (i < last) QuickSort(a, i, last, key);
      last = j;
    }
  }
}

double KeyX(const CDoublePoint& p) { return p.x; }
double KeyY(const CDoublePoint& p) { return p.y; }

void MoveToArray(CPointList& list, CDoublePoint*& array, int& count) {
  count = list.GetSize();
  array = nullptr;
  if (count > 0) {
    array = new CDoublePoint[count];
    for (int i = 0; i < count; ++i) array[i] = list[i];
  }
  list.RemoveAll();
}

// Shared by columns (primary x, secondary y) and rows (primary y, secondary x).
void OrderInBands(CPointList& list, float width, bool byColumns) {
  const float half = width / 2;
  CDoublePoint* points = nullptr;
  int count = 0;
  if (byColumns)
    CopyPointsToArray(list, points, count);
  else
    CopyPointsToArray2(list, points, count);
  auto primary = byColumns ? KeyX : KeyY;

  CPointList band;
  int bandIndex = 0;
  auto closeBand = [&]() {
    CDoublePoint* sorted = nullptr;
    int n = 0;
    if (byColumns)
      CopyPointsToArray2(band, sorted, n);
    else
      CopyPointsToArray(band, sorted, n);
    // Columns start from the top on even indexes, rows from the left.
    bool descending = byColumns ? (bandIndex % 2 == 0) : (bandIndex % 2 != 0);
    for (int k = 0; k < n; ++k) list.Add(sorted[descending ? n - 1 - k : k]);
    FreePointArray(sorted);
    ++bandIndex;
  };

  double reference = count > 0 ? primary(points[0]) : 0;
  for (int i = 0; i < count; ++i) {
    if (std::fabs(primary(points[i]) - reference) > half) {
      closeBand();
      reference = primary(points[i]);
    }
    band.Add(points[i]);
  }
  closeBand();
  FreePointArray(points);
}

// Spatial index over the points still to visit. Each cell keeps its point
// indexes ascending, so equal distances resolve to the lowest index exactly
// as a scan over the remaining list does.
class NearestGrid {
 public:
  NearestGrid(const std::vector<CDoublePoint>& points, const std::vector<int>& alive) : points_(points) {
    Build(alive);
  }

  int Remaining() const { return remaining_; }
  bool WantsRebuild() const { return remaining_ > 64 && static_cast<std::size_t>(remaining_) * 8 < cells_.size(); }

  std::vector<int> AliveIndexes() const {
    std::vector<int> out;
    out.reserve(static_cast<std::size_t>(remaining_));
    for (const auto& cell : cells_) out.insert(out.end(), cell.begin(), cell.end());
    std::sort(out.begin(), out.end());
    return out;
  }

  void Build(const std::vector<int>& alive) {
    remaining_ = static_cast<int>(alive.size());
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (int i : alive) {
      minX = std::min(minX, points_[i].x);
      maxX = std::max(maxX, points_[i].x);
      minY = std::min(minY, points_[i].y);
      maxY = std::max(maxY, points_[i].y);
    }
    double w = maxX - minX, h = maxY - minY;
    double n = std::max<double>(1, remaining_);
    // About two points per cell over the occupied box.
    // A thin box gets cells no smaller than its length / (n / 2), so the
    // cell count stays in the order of n.
    double cell = std::max(std::sqrt(w * h * 2 / n), std::max(w, h) * 2 / n);
    if (!(cell > 0) || !std::isfinite(cell)) cell = 1;
    cell_ = cell;
    minX_ = minX;
    minY_ = minY;
    nx_ = static_cast<int>(w / cell) + 1;
    ny_ = static_cast<int>(h / cell) + 1;
    cells_.assign(static_cast<std::size_t>(nx_) * static_cast<std::size_t>(ny_), {});
    for (int i : alive) Cell(CellX(points_[i].x), CellY(points_[i].y)).push_back(i);  // alive is ascending
  }

  // Lowest-index point among the nearest to q.
  int TakeNearest(const CDoublePoint& q) {
    int cx = CellX(q.x), cy = CellY(q.y);
    double best = std::numeric_limits<double>::infinity();
    int bestIndex = -1, bestCell = -1;
    int maxRing = std::max(nx_, ny_);
    for (int r = 0; r <= maxRing; ++r) {
      for (int y = cy - r; y <= cy + r; ++y) {
        if (y < 0 || y >= ny_) continue;
        bool edgeRow = (y == cy - r || y == cy + r);
        for (int x = cx - r; x <= cx + r; x += edgeRow ? 1 : 2 * r) {
          if (x >= 0 && x < nx_) {
            int c = y * nx_ + x;
            for (int i : cells_[static_cast<std::size_t>(c)]) {
              double d = PointDistance(q, points_[i]);
              if (d < best || (d == best && i < bestIndex)) {
                best = d;
                bestIndex = i;
                bestCell = c;
              }
            }
          }
          if (r == 0) break;
        }
      }
      // Ring r + 1 lies at least r cells away; one cell more absorbs any
      // rounding in the cell assignment.
      if (bestIndex >= 0 && (r - 1) * cell_ > best) break;
    }
    auto& cell = cells_[static_cast<std::size_t>(bestCell)];
    cell.erase(std::find(cell.begin(), cell.end(), bestIndex));
    --remaining_;
    return bestIndex;
  }

 private:
  int CellX(double x) const { return std::clamp(static_cast<int>(std::floor((std::clamp(x, minX_ - cell_, minX_ + nx_ * cell_) - minX_) / cell_)), 0, nx_ - 1); }
  int CellY(double y) const { return std::clamp(static_cast<int>(std::floor((std::clamp(y, minY_ - cell_, minY_ + ny_ * cell_) - minY_) / cell_)), 0, ny_ - 1); }
  std::vector<int>& Cell(int x, int y) { return cells_[static_cast<std::size_t>(y) * nx_ + x]; }

  const std::vector<CDoublePoint>& points_;
  std::vector<std::vector<int>> cells_;
  double cell_ = 1, minX_ = 0, minY_ = 0;
  int nx_ = 1, ny_ = 1;
  int remaining_ = 0;
};

// The index works on coordinates whose squared differences stay finite.
bool Indexable(const CDoublePoint& p) {
  constexpr double kLimit = 1e150;
  return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < kLimit && std::fabs(p.y) < kLimit;
}

// Lowest index of the nearest among idx (ascending), by the same comparison.
int ScanNearest(const CDoublePoint& q, const std::vector<CDoublePoint>& points, std::vector<int>& idx) {
  std::size_t bestPos = 0;
  double best = PointDistance(q, points[idx[0]]);
  for (std::size_t k = 1; k < idx.size(); ++k) {
    double d = PointDistance(q, points[idx[k]]);
    if (d < best) {
      best = d;
      bestPos = k;
    }
  }
  int chosen = idx[bestPos];
  idx.erase(idx.begin() + static_cast<std::ptrdiff_t>(bestPos));
  return chosen;
}

}  // namespace

void FreePointArray(CDoublePoint* array) { delete[] array; }

void SortPointArray(CDoublePoint* array, int first, int last) {
  if (array != nullptr) QuickSort(array, first, last, KeyX);
}

void SortPointArray2(CDoublePoint* array, int first, int last) {
  if (array != nullptr) QuickSort(array, first, last, KeyY);
}

void CopyPointsToArray(CPointList& list, CDoublePoint*& array, int& count) {
  MoveToArray(list, array, count);
  if (count > 1) SortPointArray(array, 0, count - 1);
}

void CopyPointsToArray2(CPointList& list, CDoublePoint*& array, int& count) {
  MoveToArray(list, array, count);
  if (count > 1) SortPointArray2(array, 0, count - 1);
}

void OrderPointsByColumns(CPointList& list, float width) { OrderInBands(list, width, true); }

void OrderPointsByRows(CPointList& list, float width) { OrderInBands(list, width, false); }

void SortPointsNearestFirstPlain(CDoublePoint& start, CPointList& list) {
  int n = list.GetSize();
  if (n == 0) return;
  if (n == 1) {
    start = list[0];
    return;
  }
  CPointList work;
  while (list.GetSize() > 0) {
    int bestIndex = 0;
    double best = PointDistance(start, list[0]);
    for (int i = 1; i < list.GetSize(); ++i) {
      double d = PointDistance(start, list[i]);
      if (d < best) {
        best = d;
        bestIndex = i;
      }
    }
    start = list[bestIndex];
    work.Add(start);
    list.RemoveAt(bestIndex);
  }
  list.Copy(work);
}

void SortPointsNearestFirst(CDoublePoint& start, CPointList& list) {
  const int n = list.GetSize();
  constexpr int kSmall = 64;
  bool indexable = Indexable(start);
  for (int i = 0; i < n && indexable; ++i) indexable = Indexable(list[i]);
  if (n <= kSmall || !indexable) {
    SortPointsNearestFirstPlain(start, list);
    return;
  }
  std::vector<CDoublePoint> points(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) points[static_cast<std::size_t>(i)] = list[i];
  std::vector<int> alive(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) alive[static_cast<std::size_t>(i)] = i;

  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(n));
  CDoublePoint q = start;
  NearestGrid grid(points, alive);
  while (grid.Remaining() > kSmall) {
    int i = grid.TakeNearest(q);
    order.push_back(i);
    q = points[static_cast<std::size_t>(i)];
    // As the visited area grows, empty cells would slow the ring search.
    if (grid.WantsRebuild()) grid.Build(grid.AliveIndexes());
  }
  std::vector<int> rest = grid.AliveIndexes();
  while (!rest.empty()) {
    int i = ScanNearest(q, points, rest);
    order.push_back(i);
    q = points[static_cast<std::size_t>(i)];
  }
  for (int k = 0; k < n; ++k) list[k] = points[static_cast<std::size_t>(order[static_cast<std::size_t>(k)])];
  start = q;
}
