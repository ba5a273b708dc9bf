#include "document/path/PointOrdering.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "document/path/NearestEndGrid.h"

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
  bool indexable = NearestEndGrid::Indexable(start);
  for (int i = 0; i < n && indexable; ++i) indexable = NearestEndGrid::Indexable(list[i]);
  // The plain scan decides dots whose distances are not numbers its own way.
  if (n <= kSmall || !indexable) {
    SortPointsNearestFirstPlain(start, list);
    return;
  }
  // Each dot is an item whose two ends are the dot itself.
  std::vector<HatchSegment> dots(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) dots[static_cast<std::size_t>(i)] = HatchSegment{list[i], list[i]};
  NearestEndGrid grid(dots);
  CDoublePoint q = start;
  for (int k = 0; k < n; ++k) {
    const long i = grid.Nearest(q);
    grid.Remove(i);
    q = dots[static_cast<std::size_t>(i)].first;
    list[k] = q;
  }
  start = q;
}
