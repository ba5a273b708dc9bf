#pragma once
// Spatial index over the two ends of many items (fill strokes, open or closed
// paths) for nearest-first orderings. Nearest returns exactly what a plain scan
// in index order would: the item whose nearer end has the strictly smallest
// distance (the first end winning a tie within an item), ties between items to
// the lowest index still present. It falls back to that scan when the index
// does not pay. Items are removed as they are taken.
#include <cstddef>
#include <vector>

#include "document/path/HatchFill.h"

class NearestEndGrid {
 public:
  // The items must outlive the index.
  explicit NearestEndGrid(const std::vector<HatchSegment>& items);

  bool Empty() const { return remaining_ == 0; }
  std::size_t Remaining() const { return remaining_; }
  // Index of the nearest item still present; -1 when none is left.
  long Nearest(const CDoublePoint& p) const;
  void Remove(long i);

 private:
  int CellX(double x) const;
  int CellY(double y) const;
  int CellIndex(const CDoublePoint& p) const;
  void Consider(long i, const CDoublePoint& p, double& best, long& bestIndex) const;
  long ScanNearest(const CDoublePoint& p) const;
  long GridNearest(const CDoublePoint& p) const;  // -1 when the search got too wide

  const std::vector<HatchSegment>& items_;
  std::vector<char> alive_;
  std::vector<long> next_, prev_;  // items still present, in index order
  long head_ = -1;
  std::size_t remaining_ = 0;
  bool gridded_ = false;
  int nx_ = 0, ny_ = 0;
  double minX_ = 0, minY_ = 0, cellW_ = 1, cellH_ = 1, tolerance_ = 0;
  std::vector<int> start_, entries_;  // items per cell, cells in row order
};
