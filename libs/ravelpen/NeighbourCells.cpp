#include "libs/ravelpen/NeighbourCells.h"

#include <algorithm>
#include <cmath>

namespace ravelpen {
namespace {

// Open-addressing table numbering packed cell coordinates as they come.
class CellTable {
 public:
  explicit CellTable(std::size_t expected) {
    std::size_t size = 16;
    while (size < 2 * expected) size *= 2;
    keys_.assign(size, kEmpty);
    cells_.assign(size, -1);
    mask_ = size - 1;
  }
  // The cell number of the key, numbering a new key `next`.
  std::int32_t Insert(std::uint64_t key, std::int32_t next) {
    for (std::size_t at = Slot(key);; at = (at + 1) & mask_) {
      if (keys_[at] == key) return cells_[at];
      if (keys_[at] == kEmpty) {
        keys_[at] = key;
        cells_[at] = next;
        return next;
      }
    }
  }

 private:
  static constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
  std::size_t Slot(std::uint64_t key) const {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask_;
  }
  std::vector<std::uint64_t> keys_;
  std::vector<std::int32_t> cells_;
  std::size_t mask_ = 0;
};

// Cell coordinates are kept below 2^30, so a key never meets the empty mark
// and a neighbour's coordinate never wraps.
constexpr double kCoordinateLimit = 1073741823.0;

std::uint64_t Pack(std::uint64_t column, std::uint64_t row) { return (row << 32) | column; }

}  // namespace

NeighbourCells::NeighbourCells(const std::vector<TracePoint>& points, double side) {
  const std::size_t n = points.size();
  cellOf_.resize(n);
  start_.assign(1, 0);
  if (n == 0) return;
  const auto [minX, maxX, minY, maxY] = GetPointExtent(points.data(), n);
  // Cells larger than asked for still hold every neighbour within the side;
  // a shade larger, so that rounding never puts two such points two cells apart.
  side = std::max({side * (1.0 + 1e-9), (maxX - minX) / kCoordinateLimit, (maxY - minY) / kCoordinateLimit});
  if (!(side > 0.0) || !std::isfinite(side)) side = std::max(1.0, std::max(maxX - minX, maxY - minY));
  const double perSide = 1.0 / side;
  std::vector<std::uint32_t> columns(n), rows(n);
  CellTable table(n);
  std::int32_t cells = 0;
  std::vector<std::uint32_t> count;
  std::uint64_t lastKey = ~std::uint64_t{0};
  std::int32_t lastCell = -1;
  for (std::size_t i = 0; i < n; ++i) {
    // Offsets from the least coordinates are not negative: truncation floors them.
    columns[i] = static_cast<std::uint32_t>(std::min((points[i].x - minX) * perSide, kCoordinateLimit)) + 1;
    rows[i] = static_cast<std::uint32_t>(std::min((points[i].y - minY) * perSide, kCoordinateLimit)) + 1;
    // Points along a path often share the cell of the point before.
    const std::uint64_t key = Pack(columns[i], rows[i]);
    const std::int32_t cell = key == lastKey ? lastCell : table.Insert(key, cells);
    lastKey = key;
    lastCell = cell;
    if (cell == cells) {
      ++cells;
      count.push_back(0);
    }
    cellOf_[i] = static_cast<std::uint32_t>(cell);
    ++count[static_cast<std::size_t>(cell)];
  }
  start_.assign(static_cast<std::size_t>(cells) + 1, 0);
  for (std::size_t c = 0; c < count.size(); ++c) start_[c + 1] = start_[c] + count[c];
  entries_.resize(n);
  std::vector<std::uint32_t> fill(start_.begin(), start_.end() - 1);
  for (std::size_t i = 0; i < n; ++i)
    entries_[fill[cellOf_[i]]++] = {points[i].x, points[i].y, points[i].z, static_cast<std::uint32_t>(i)};
  // The cells around each cell: with the cells sorted row by row, the cells
  // of the row below, the same row and the row above that touch a cell are
  // found by three walks that only move forward.
  std::vector<std::pair<std::uint64_t, std::int32_t>> sorted(static_cast<std::size_t>(cells));
  std::vector<char> seen(static_cast<std::size_t>(cells), 0);
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t cell = cellOf_[i];
    if (seen[cell]) continue;
    seen[cell] = 1;
    sorted[cell] = {Pack(columns[i], rows[i]), static_cast<std::int32_t>(cell)};
  }
  std::sort(sorted.begin(), sorted.end());
  around_.assign(9 * static_cast<std::size_t>(cells), -1);
  std::size_t walk[3] = {0, 0, 0};
  for (const auto& [key, cell] : sorted) {
    for (int dy = 0; dy < 3; ++dy) {
      // Cells of row + dy - 1, columns column - 1 to column + 1.
      const std::uint64_t from = key + (static_cast<std::uint64_t>(dy) << 32) - (std::uint64_t{1} << 32) - 1;
      std::size_t& at = walk[dy];
      while (at < sorted.size() && sorted[at].first < from) ++at;
      for (std::size_t k = at; k < sorted.size() && sorted[k].first <= from + 2; ++k)
        around_[9 * static_cast<std::size_t>(cell) + 3 * dy + (sorted[k].first - from)] = sorted[k].second;
    }
  }
}

}  // namespace ravelpen
