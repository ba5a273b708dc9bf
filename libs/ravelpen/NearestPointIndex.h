#pragma once
// Spatial index over the points of one greedy ordering, answering exactly
// what a plain scan of the remaining points in list order would: the nearest
// point, ties to the lowest index. Points are taken out as they are used.
//
// The cells are squares of about two point spacings (measured along the
// list, which for an outline runs along its path), laid over the bounding box
// in whatever shape it has: a one-pixel line gets a row of cells as long as
// the line, not cells sized for an area it does not have. Their number stays
// between half and eight times the number of points.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "libs/ravelpen/TraceSteps.h"

namespace ravelpen {

class NearestPointIndex {
 public:
  // Indexes points[0, n), which must outlive the index (or the next Build)
  // and lie in the plane (z = 0). The storage is kept from one Build to the
  // next, so one index serves all the lists of a tracing.
  void Build(const TracePoint* points, std::size_t n);

  bool Empty() const { return remaining_ == 0; }
  // Takes out and returns the point the scan would take next from p: after
  // dropping every point closer than dropRadius (0: none) but the first
  // present one, the nearest point, the lowest index on a tie. The index
  // must not be empty.
  std::size_t TakeNearest(const TracePoint& p, double dropRadius);
  // Takes point i out (nothing when it is out already).
  void Remove(std::size_t i);

 private:
  struct Entry {
    float x;
    float y;
    std::uint32_t index;
  };
  std::size_t First();
  // Takes out every point but `keep` closer than `radius` to p.
  void RemoveWithin(const TracePoint& p, double radius, std::size_t keep);
  long long Column(double x) const;
  long long Row(double y) const;
  std::size_t CellOf(const TracePoint& p) const;
  // Square of the least distance from p to any point of cell (x, y), a shade low.
  double CellSquare(const TracePoint& p, long long x, long long y) const;
  // Calls visit(entry) for each point present in the cells of columns x0..x1 of row y.
  template <typename F>
  void VisitRow(long long y, long long x0, long long x1, F&& visit) const;

  const TracePoint* points_ = nullptr;
  std::size_t remaining_ = 0;
  std::size_t first_ = 0;
  double minX_ = 0.0, minY_ = 0.0, cell_ = 1.0, perCell_ = 1.0;
  long long columns_ = 1, rows_ = 1;
  // Points per cell in row order: cell c holds entries_[start, start + count)
  // of cells_[c], present points only; position_ finds a point's entry, so
  // taking it out moves the cell's last entry into its place.
  struct CellRange {
    std::uint32_t start;
    std::uint32_t count;
  };
  std::vector<CellRange> cells_;
  std::vector<std::uint32_t> position_, cellOf_;
  std::vector<Entry> entries_;
  std::vector<char> present_;
  std::vector<std::uint32_t> fill_, removed_, dropped_;  // scratch
};

}  // namespace ravelpen
