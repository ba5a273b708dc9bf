#pragma once
// The points of a list by square cells of at least a given side, for "which
// points lie within that distance of this one": those lie in the cell of the
// point or the eight around it. Only occupied cells are kept (in a hash of
// their coordinates), so points spread thinly over a large picture cost no
// more than points close together.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "libs/ravelpen/TraceSteps.h"

namespace ravelpen {

class NeighbourCells {
 public:
  NeighbourCells(const std::vector<TracePoint>& points, double side);

  struct Entry {
    float x;
    float y;
    float z;
    std::uint32_t index;
  };

  std::size_t CellCount() const { return start_.size() - 1; }
  std::size_t CellOf(std::size_t i) const { return cellOf_[i]; }
  std::size_t CellSize(std::size_t c) const { return start_[c + 1] - start_[c]; }
  // The cell of point i and the eight cells around it (-1 where empty).
  const std::int32_t* Around(std::size_t i) const { return around_.data() + 9 * static_cast<std::size_t>(cellOf_[i]); }
  const Entry* begin(std::size_t c) const { return entries_.data() + start_[c]; }
  const Entry* end(std::size_t c) const { return entries_.data() + start_[c + 1]; }

 private:
  std::vector<std::uint32_t> cellOf_;   // cell of each point
  std::vector<std::uint32_t> start_;    // points of cell c: entries_[start_[c], start_[c + 1])
  std::vector<Entry> entries_;
  std::vector<std::int32_t> around_;    // the nine cells around each cell, -1 where empty
};

}  // namespace ravelpen
