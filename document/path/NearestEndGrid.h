#pragma once
// Spatial index over the two ends of many items (fill strokes, open or closed
// paths, or single dots given as both ends) for nearest-first orderings.
// Nearest returns exactly what a plain scan in index order would: the item
// whose nearer end has the strictly smallest distance (the first end winning a
// tie within an item), ties between items to the lowest index still present.
// It falls back to that scan when the index does not pay. Items are removed as
// they are taken.
//
// The cells are near-square, about one per item, laid over the bounding box in
// whatever shape it has: a long thin fill gets a long thin row of cells, not
// sqrt(n) by sqrt(n) slivers that every search would have to cross.
//
// Ends that crowd into a few of those cells (most of a layout in one corner,
// the ends of long strokes along two edges) would make every search near them
// weigh thousands: when the cells come out that unevenly filled, the ends go
// into a NearestEndTree instead, which the items taken then leave as it is.
#include <cstddef>
#include <memory>
#include <vector>

#include "document/path/HatchFill.h"

class NearestEndTree;

class NearestEndGrid {
 public:
  // The items must outlive the index.
  explicit NearestEndGrid(const std::vector<HatchSegment>& items);
  ~NearestEndGrid();

  bool Empty() const { return remaining_ == 0; }
  std::size_t Remaining() const { return remaining_; }
  // Index of the nearest item still present; -1 when none is left.
  long Nearest(const CDoublePoint& p) const;
  void Remove(long i);
  // Coordinates the cells can hold: finite, and small enough to square.
  static bool Indexable(const CDoublePoint& p);
  // The cells laid now and their size; no columns while the index scans or
  // the tree holds the ends.
  int Columns() const { return gridded_ && !tree_ ? nx_ : 0; }
  int Rows() const { return gridded_ && !tree_ ? ny_ : 0; }
  double CellWidth() const { return cellW_; }
  double CellHeight() const { return cellH_; }

 private:
  // Lays the cells over the items still present, or the tree when the cells
  // would be crowded; false when they cannot be indexed (coordinates not
  // finite or too large to square).
  bool Build();
  bool Crowded() const;
  void BuildTree();
  int CellX(double x) const;
  int CellY(double y) const;
  std::size_t CellIndex(const CDoublePoint& p) const;
  void DropEntry(long code);
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
  // Item ends per cell in row order, as codes 2 x item + end: cell c holds
  // entries_[start_[c], start_[c] + count_[c]); an item's second end is left
  // out when it shares the first one's cell. position_ finds an end's entry,
  // so removing it moves the cell's last entry into its place.
  std::vector<int> start_, count_, entries_, position_;
  std::unique_ptr<NearestEndTree> tree_;  // in place of the cells when they would be crowded
};
