#include "libs/ravelpen/LatticeTracer.h"

#include <algorithm>
#include <limits>

namespace ravelpen {
namespace {

// Points lie on a lattice of 1/8 mm: a pixel's own corner (even coordinates)
// or, moved by the thinning's corner smoothing, half a pixel up and right
// (odd ones). Squares of distances are whole numbers of (1/8 mm)^2, and since
// no two distinct ones have the same square root, comparing squares compares
// the distances exactly, ties included. Distances below 0.225 mm (the drop
// radius) are squares of 3 or less, below 0.5025 mm (the gap) 16 or less.
constexpr std::int64_t kDropSquare = 3;
constexpr std::int64_t kGapSquare = 16;
// A point in a pixel two or more away (in x or in y) lies at least 3/8 mm
// off: the nearest of the eight pixels around wins when its square is 8 or
// less. Within the gap lies nothing beyond the 5 x 5 pixels around.
constexpr std::int64_t kAroundWins = 8;
// Above this many points the path is ordered in 10 mm tiles.
constexpr std::size_t kTiledAbove = 5000;
// Whole-list searches look at this many points a list (and a floor) before
// the list gets an index of its own.
constexpr std::size_t kScansPerPoint = 8;
constexpr std::size_t kScanFloor = 4096;

// Point flags: active in the list being walked, queued for and joined to
// the polyline being cut, moved by the thinning (see MovedBy).
enum : std::uint8_t { kActive = 1, kQueued = 2, kJoined = 4, kMoved = 8 };

constexpr std::uint32_t Bit(int dx, int dy) { return std::uint32_t{1} << OutlineLattice::Bit(dx, dy); }
constexpr std::uint32_t kEightAround = Bit(-1, -1) | Bit(0, -1) | Bit(1, -1) | Bit(-1, 0) | Bit(1, 0) | Bit(-1, 1) |
                                       Bit(0, 1) | Bit(1, 1);
constexpr std::uint32_t kUpAndDown = Bit(0, -1) | Bit(0, 1);
constexpr std::uint32_t kLeftAndRight = Bit(-1, 0) | Bit(1, 0);
constexpr std::uint32_t kNearAround = ((std::uint32_t{1} << 25) - 1) & ~Bit(0, 0);
constexpr std::uint32_t kUpAndDownTwo = Bit(0, -2) | kUpAndDown | Bit(0, 2);
constexpr std::uint32_t kLeftAndRightTwo = Bit(-2, 0) | kLeftAndRight | Bit(2, 0);

// Square of the distance to the point of the pixel (dx, dy) away, the one
// moved by `from` and the other by `to` (0 or 1 eighth each way).
std::int64_t NearSquare(int dx, int dy, std::int32_t from, std::int32_t to) {
  const std::int64_t a = 2 * dx + to - from, b = 2 * dy + to - from;
  return a * a + b * b;
}

}  // namespace

bool LatticeTracer::Fits(std::size_t width, std::size_t height) {
  constexpr std::size_t kSide = std::size_t{1} << 22;
  return width <= kSide && height <= kSide;
}

void LatticeTracer::Trace(const OutlineLattice& lattice, TracePolylineArray& result) {
  lattice_ = &lattice;
  const std::size_t n = lattice.Size();
  if (n == 0) return;
  // The centre: the integer middle of the extremes. The thinning keeps one
  // point a pixel and moves it half a pixel up and right when the pixels to
  // its right and above are outline pixels too (see MovedBy).
  cx_ = static_cast<std::int32_t>((static_cast<std::int64_t>(lattice.LeastX()) + lattice.GreatestX()) / 2);
  cr_ = static_cast<std::int32_t>((static_cast<std::int64_t>(lattice.Row(0)) + lattice.Row(n - 1)) / 2);
  state_.resize(n);
  for (std::size_t g = 0; g < n; ++g) state_[g] = MovedBy(lattice.Around(g)) ? kMoved : 0;
  place_.resize(n);
  pathPlace_.resize(n);
  path_.reset(new std::uint32_t[n]);
  members_.reset(new std::uint32_t[n]);
  ordered_.reset(new std::uint32_t[n]);
  OrderPath();
  CutAndOrder(result);
}

void LatticeTracer::OrderPath() {
  const std::size_t n = lattice_->Size();
  std::size_t length = 0;
  if (n == 1) {
    path_[length++] = 0;
  } else if (n <= kTiledAbove) {
    for (std::uint32_t g = 0; g < n; ++g) {
      members_[g] = g;
      place_[g] = g;
      state_[g] |= kActive;
    }
    length = Walk(members_.get(), n, 0, false, path_.get());
  } else {
    // The tiles of OrderPath, from the bounds of the points in millimetres.
    std::int32_t leastX = X(0), greatestX = leastX, leastY = Y(0), greatestY = leastY;
    for (std::uint32_t g = 1; g < n; ++g) {
      leastX = std::min(leastX, X(g));
      greatestX = std::max(greatestX, X(g));
      leastY = std::min(leastY, Y(g));
      greatestY = std::max(greatestY, Y(g));
    }
    const double minX = leastX * 0.125, maxX = greatestX * 0.125;
    const double minY = leastY * 0.125, maxY = greatestY * 0.125;
    const PathTiles tiles(PointBounds{maxX - minX, maxY - minY, (minX + maxX) / 2, (minY + maxY) / 2});
    const int columns = tiles.Columns();
    const int rows = tiles.Rows();
    const std::size_t tileCount = tiles.Count();
    tileStart_.assign(tileCount + 1, 0);
    // Each point's tile, kept in its place until the points are sorted.
    for (std::uint32_t g = 0; g < n; ++g) {
      const std::uint32_t tile = tiles.Of(X(g) * 0.125, Y(g) * 0.125);
      place_[g] = tile;
      ++tileStart_[tile + 1];
    }
    for (std::size_t t = 0; t < tileCount; ++t) tileStart_[t + 1] += tileStart_[t];
    // Each tile's points in list order, numbered from 0 within the tile (the
    // queue is free until the cutting).
    std::vector<std::uint32_t>& fill = queue_;
    fill.assign(tileStart_.begin(), tileStart_.end() - 1);
    for (std::uint32_t g = 0; g < n; ++g) {
      const std::uint32_t tile = place_[g];
      place_[g] = fill[tile] - tileStart_[tile];
      members_[fill[tile]++] = g;
    }
    std::uint32_t current = 0;
    for (int row = 0; row < rows; ++row) {
      for (int i = 0; i < columns; ++i) {
        const std::size_t t = static_cast<std::size_t>((row % 2 == 0 ? i : columns - 1 - i) + row * columns);
        const std::uint32_t* tile = members_.get() + tileStart_[t];
        const std::size_t count = tileStart_[t + 1] - tileStart_[t];
        if (count == 0) continue;
        for (std::size_t p = 0; p < count; ++p) state_[tile[p]] |= kActive;
        length += Walk(tile, count, current, false, path_.get() + length);
        current = path_[length - 1];
      }
    }
  }
  for (std::size_t k = 0; k < n; ++k) pathPlace_[path_[k]] = static_cast<std::uint32_t>(k);
}

void LatticeTracer::Take(std::uint32_t g) {
  state_[g] &= static_cast<std::uint8_t>(~kActive);
  --remaining_;
  if (indexed_) index_.Remove(place_[g]);
}

std::uint32_t LatticeTracer::First() {
  while (!(state_[walked_[first_]] & kActive)) ++first_;
  return walked_[first_];
}

std::size_t LatticeTracer::Walk(const std::uint32_t* members, std::size_t count, std::uint32_t current, bool remove,
                                std::uint32_t* out) {
  const OutlineLattice& lattice = *lattice_;
  walked_ = members;
  count_ = count;
  first_ = 0;
  remaining_ = count;
  scanned_ = 0;
  indexed_ = false;
  std::uint32_t* next = out;
  // The current point itself is a candidate only as the start of a list (a
  // copy of its first point), at distance 0.
  bool fromStart = state_[current] & kActive;
  while (remaining_ > 0) {
    const std::uint32_t around = lattice.Around(current);
    const std::int32_t moved = MovedBy(around);
    // Along a straight stretch of outline the eight pixels around hold only
    // the one before and the one after. With one of them left, unmoved, it is
    // the nearest (a square of 4 against 9 or more for anything else) and
    // nothing is near enough to drop.
    const std::uint32_t eight = around & kEightAround;
    if (!fromStart && !moved && (eight == kUpAndDown || eight == kLeftAndRight)) {
      const auto before = static_cast<std::uint32_t>(eight == kUpAndDown ? lattice.Neighbour(current, 0, -1) : current - 1);
      const auto after = static_cast<std::uint32_t>(eight == kUpAndDown ? lattice.Neighbour(current, 0, 1) : current + 1);
      const bool beforeLeft = state_[before] & kActive, afterLeft = state_[after] & kActive;
      const std::uint32_t j = beforeLeft ? before : after;
      if (beforeLeft != afterLeft && !Moved(j)) {
        Take(j);
        *next++ = j;
        current = j;
        continue;
      }
    }
    std::uint32_t best = current;
    std::int64_t bestSquare = fromStart ? 0 : std::numeric_limits<std::int64_t>::max();
    fromStart = false;
    lattice.ForEachNear<1>(current, [&](std::size_t near, int dx, int dy) {
      const auto j = static_cast<std::uint32_t>(near);
      if (!(state_[j] & kActive)) return;
      const std::int64_t s = NearSquare(dx, dy, moved, Moved(j));
      // Dropped as the scan drops it; the first point left (looked up before
      // any drop of this step) never is.
      if (remove && s <= kDropSquare && j != First()) {
        Take(j);
        return;
      }
      if (s < bestSquare || (s == bestSquare && place_[j] < place_[best])) {
        best = j;
        bestSquare = s;
      }
    });
    if (bestSquare > kAroundWins) best = FarNearest(current);
    Take(best);
    *next++ = best;
    current = best;
  }
  return static_cast<std::size_t>(next - out);
}

std::uint32_t LatticeTracer::FarNearest(std::uint32_t current) {
  First();
  if (!indexed_ && scanned_ > kScansPerPoint * count_ + kScanFloor) {
    indexPoints_.resize(count_);
    for (std::size_t p = 0; p < count_; ++p) indexPoints_[p] = PointOf(walked_[p]);
    index_.Build(indexPoints_.data(), count_);
    for (std::size_t p = 0; p < count_; ++p)
      if (!(state_[walked_[p]] & kActive)) index_.Remove(p);
    indexed_ = true;
  }
  if (indexed_) return walked_[index_.TakeNearest(PointOf(current), 0.0)];
  // The plain scan: the nearest, the first in list order on a tie.
  scanned_ += count_ - first_;
  std::uint32_t best = walked_[first_];
  std::int64_t bestSquare = std::numeric_limits<std::int64_t>::max();
  const std::int64_t cx = X(current), cy = Y(current);
  for (std::size_t p = first_; p < count_; ++p) {
    const std::uint32_t g = walked_[p];
    if (!(state_[g] & kActive)) continue;
    const std::int64_t dx = X(g) - cx, dy = Y(g) - cy, s = dx * dx + dy * dy;
    if (s < bestSquare) {
      best = g;
      bestSquare = s;
    }
  }
  return best;
}

void LatticeTracer::CutAndOrder(TracePolylineArray& result) {
  const OutlineLattice& lattice = *lattice_;
  const std::size_t n = lattice.Size();
  // A polyline grows by the point first in path order among those within the
  // gap of any of its points, as CutIntoPolylines grows it: the points within
  // the gap of each point joined are queued by their place in the path, and
  // the first queued joins next.
  std::vector<std::uint32_t>& queue = queue_;  // a binary heap, least on top
  auto push = [&](std::uint32_t place) {
    std::size_t i = queue.size();
    queue.push_back(place);
    for (; i > 0 && queue[(i - 1) / 2] > place; i = (i - 1) / 2) queue[i] = queue[(i - 1) / 2];
    queue[i] = place;
  };
  auto pop = [&] {
    const std::uint32_t least = queue[0], last = queue.back();
    queue.pop_back();
    const std::size_t size = queue.size();
    std::size_t i = 0;
    for (std::size_t child = 1; child < size; child = 2 * i + 1) {
      if (child + 1 < size && queue[child + 1] < queue[child]) ++child;
      if (queue[child] >= last) break;
      queue[i] = queue[child];
      i = child;
    }
    if (size > 0) queue[i] = last;
    return least;
  };
  auto consider = [&](std::uint32_t j, int dx, int dy, std::int32_t moved) {
    if (state_[j] & (kQueued | kJoined)) return;
    if (NearSquare(dx, dy, moved, Moved(j)) > kGapSquare) return;
    state_[j] |= kQueued;
    push(pathPlace_[j]);
  };
  std::uint32_t* joined = members_.get();
  auto join = [&](std::uint32_t g) {
    state_[g] |= kJoined;
    *joined++ = g;
    const std::uint32_t around = lattice.Around(g);
    const std::int32_t moved = MovedBy(around);
    // Along a straight stretch the 24 pixels around hold only the two
    // either way.
    const std::uint32_t near = around & kNearAround;
    if (near == kUpAndDownTwo && !moved) {
      consider(static_cast<std::uint32_t>(lattice.Neighbour(g, 0, -2)), 0, -2, 0);
      consider(static_cast<std::uint32_t>(lattice.Neighbour(g, 0, -1)), 0, -1, 0);
      consider(static_cast<std::uint32_t>(lattice.Neighbour(g, 0, 1)), 0, 1, 0);
      consider(static_cast<std::uint32_t>(lattice.Neighbour(g, 0, 2)), 0, 2, 0);
    } else if (near == kLeftAndRightTwo && !moved) {
      consider(g - 2, -2, 0, 0);
      consider(g - 1, -1, 0, 0);
      consider(g + 1, 1, 0, 0);
      consider(g + 2, 2, 0, 0);
    } else {
      lattice.ForEachNear<2>(
          g, [&](std::size_t j, int dx, int dy) { consider(static_cast<std::uint32_t>(j), dx, dy, moved); });
    }
  };
  for (std::size_t first = 0;; ++first) {
    while (first < n && (state_[path_[first]] & kJoined)) ++first;
    if (first >= n) break;
    joined = members_.get();
    queue.clear();
    join(path_[first]);
    while (!queue.empty()) join(path_[pop()]);
    const std::size_t count = static_cast<std::size_t>(joined - members_.get());
    for (std::size_t p = 0; p < count; ++p) {
      place_[members_[p]] = static_cast<std::uint32_t>(p);
      state_[members_[p]] |= kActive;
    }
    const std::size_t length = Walk(members_.get(), count, members_[0], true, ordered_.get());
    // Corners found on the lattice: a point in line with the points either
    // side of it (most of an outline) is never one.
    struct Point {
      std::int32_t x, y;
    };
    auto corner = [&](const Point& previous, const Point& point, const Point& next) {
      const std::int64_t ax = previous.x - point.x, ay = previous.y - point.y;
      const std::int64_t bx = next.x - point.x, by = next.y - point.y;
      if (ax * by == ay * bx) return false;
      return IsCorner(OnLattice(previous.x, previous.y), OnLattice(point.x, point.y), OnLattice(next.x, next.y));
    };
    TracePolyline polyline;
    KeepCorners(
        length, [&](std::size_t k) { return Point{X(ordered_[k]), Y(ordered_[k])}; }, corner,
        [&](const Point& p) { polyline.push_back(OnLattice(p.x, p.y)); });
    result.push_back(std::move(polyline));
  }
}

}  // namespace ravelpen
