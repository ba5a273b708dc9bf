#include "document/path/NearestEndTree.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "document/path/NearestEndGrid.h"

namespace {

constexpr double kFarAway = 4e298;

// The squared distance PointDistance would square-root, to the nearest point
// a box could hold: by rounding's monotonicity no end in it gives less.
template <class Bounds>
double SquaredReach(const CDoublePoint& p, const Bounds& b) {
  const double dx = p.x < b.minX ? b.minX - p.x : (p.x > b.maxX ? p.x - b.maxX : 0.0);
  const double dy = p.y < b.minY ? b.minY - p.y : (p.y > b.maxY ? p.y - b.maxY : 0.0);
  return dx * dx + dy * dy;
}

template <class Bounds>
bool Holds(const Bounds& b, const CDoublePoint& p) {
  return p.x >= b.minX && p.x <= b.maxX && p.y >= b.minY && p.y <= b.maxY;
}

// Moves the entries pred holds for to the front, without branching on
// them (the coordinates of a layout are as good as random to the branch
// predictor); returns the first entry it does not hold for.
template <class It, class Pred>
It PartitionBy(It first, It last, Pred pred) {
  It split = first;
  for (It k = first; k != last; ++k) {
    const auto moved = *k;
    *k = *split;
    *split = moved;
    split += pred(moved) ? 1 : 0;
  }
  return split;
}

// std::nth_element by key, through PartitionBy; falls back to the standard
// one when the pivots do badly.
template <class It, class Key>
void SelectNth(It first, It nth, It last, Key key) {
  for (int rounds = 64; last - first > 16 && rounds > 0; --rounds) {
    const double a = key(*first), b = key(first[(last - first) / 2]), c = key(last[-1]);
    const double pivot = std::max(std::min(a, b), std::min(std::max(a, b), c));
    It split = PartitionBy(first, last, [&](const auto& e) { return key(e) < pivot; });
    if (split == first) {
      // The pivot is the least key: all equal to it go first, and are done.
      split = PartitionBy(first, last, [&](const auto& e) { return key(e) <= pivot; });
      if (nth < split) return;
    }
    (nth < split ? last : first) = split;
  }
  std::nth_element(first, nth, last, [&](const auto& x, const auto& y) { return key(x) < key(y); });
}

bool SameBounds(const auto& a, const auto& b) {
  return a.minX == b.minX && a.minY == b.minY && a.maxX == b.maxX && a.maxY == b.maxY;
}

// Boxes reaching beyond this cannot hold an end as near as best, even with
// the rounding of the square root: a box at exactly best's distance is still
// searched, and its ends of lower index win the tie.
double Limit(double best) { return best * best * (1 + 1e-9) + 1e-300; }

}  // namespace

NearestEndTree::NearestEndTree(const std::vector<HatchSegment>& items, const std::vector<long>& present) {
  ends_.reserve(2 * present.size());
  for (const long i : present) {
    const HatchSegment& s = items[static_cast<std::size_t>(i)];
    ends_.push_back(End{s.first.x, s.first.y, 2 * i});
    if (s.second.x != s.first.x || s.second.y != s.first.y) ends_.push_back(End{s.second.x, s.second.y, 2 * i + 1});
  }
  where_.assign(2 * items.size(), -1);
  if (ends_.empty()) return;
  // Halving to boxes of at most kLeaf ends takes the same depth everywhere,
  // give or take one.
  std::size_t depth = 0;
  while ((ends_.size() + (std::size_t{1} << depth) - 1) >> depth > static_cast<std::size_t>(kLeaf)) ++depth;
  boxes_.assign((std::size_t{2} << depth) - 1, Box{});
  cells_.resize(boxes_.size());
  leafOf_.resize(ends_.size());
  constexpr double kAll = std::numeric_limits<double>::infinity();
  Split(0, 0, ends_.size(), Cell{-kAll, -kAll, kAll, kAll});
  for (std::size_t at = 0; at < ends_.size(); ++at) where_[static_cast<std::size_t>(ends_[at].code)] = static_cast<long>(at);
}

void NearestEndTree::FitBounds(Box& b, std::size_t begin, std::size_t end) const {
  b.minX = b.maxX = ends_[begin].x;
  b.minY = b.maxY = ends_[begin].y;
  for (std::size_t k = begin + 1; k < end; ++k) {
    b.minX = std::min(b.minX, ends_[k].x);
    b.minY = std::min(b.minY, ends_[k].y);
    b.maxX = std::max(b.maxX, ends_[k].x);
    b.maxY = std::max(b.maxY, ends_[k].y);
  }
}

void NearestEndTree::Split(std::size_t box, std::size_t begin, std::size_t end, const Cell& cell) {
  cells_[box] = cell;
  Box& b = boxes_[box];
  b = Box{0, 0, 0, 0, static_cast<int>(begin), static_cast<int>(end), static_cast<int>(end - begin)};
  FitBounds(b, begin, end);
  if (IsLeaf(b)) {
    std::fill(leafOf_.begin() + static_cast<std::ptrdiff_t>(begin), leafOf_.begin() + static_cast<std::ptrdiff_t>(end),
              static_cast<int>(box));
    return;
  }
  const std::size_t mid = begin + (end - begin) / 2;
  const auto first = ends_.begin() + static_cast<std::ptrdiff_t>(begin);
  const auto middle = ends_.begin() + static_cast<std::ptrdiff_t>(mid);
  const auto last = ends_.begin() + static_cast<std::ptrdiff_t>(end);
  // The halves' cells meet at the middle end; ends on that line may lie in either.
  Cell lower = cell, upper = cell;
  if (b.maxX - b.minX >= b.maxY - b.minY) {
    SelectNth(first, middle, last, [](const End& e) { return e.x; });
    lower.maxX = upper.minX = middle->x;
  } else {
    SelectNth(first, middle, last, [](const End& e) { return e.y; });
    lower.maxY = upper.minY = middle->y;
  }
  Split(2 * box + 1, begin, mid, lower);
  Split(2 * box + 2, mid, end, upper);
}

long NearestEndTree::Nearest(const CDoublePoint& p) const {
  // The boxes measure squares of coordinates below 1e150 only.
  if (!NearestEndGrid::Indexable(p) || boxes_.empty() || boxes_[0].live == 0) return -1;
  // Reaches are squares of coordinates below 1e150: below this limit until
  // an end is found.
  Best best{kFarAway, -1, 1e302, 0};
  // Nearest-first orders ask next from about where the last answer lay:
  // the search starts in the leaf whose cell holds the query, tried first
  // the last answer's, and widens to the halves beside it, up to where the
  // cell's edges lie farther than the nearest end found.
  std::size_t box = Holds(cells_[finger_], p) ? finger_ : 0;
  while (!IsLeaf(boxes_[box])) box = Holds(cells_[2 * box + 1], p) ? 2 * box + 1 : 2 * box + 2;
  SearchFrom(box, p, best);
  for (; box > 0; box = (box - 1) / 2) {
    const Cell& c = cells_[box];
    const double clear = std::min(std::min(p.x - c.minX, c.maxX - p.x), std::min(p.y - c.minY, c.maxY - p.y));
    if (clear > 0 && clear * clear > best.limit) break;
    SearchFrom(box % 2 == 1 ? box + 1 : box - 1, p, best);
  }
  if (best.item >= 0) finger_ = best.leaf;
  return best.item;
}

void NearestEndTree::SearchFrom(std::size_t top, const CDoublePoint& p, Best& best) const {
  if (boxes_[top].live == 0) return;
  // Boxes still to open with their reach; the nearer half is opened first.
  // Each halving leaves one half here, so the depth of the boxes bounds it.
  struct Pending {
    std::size_t box;
    double reach;
  };
  Pending pending[64];
  std::size_t count = 0;
  pending[count++] = Pending{top, SquaredReach(p, boxes_[top])};
  while (count > 0) {
    const Pending next = pending[--count];
    if (next.reach > best.limit) continue;
    const Box& b = boxes_[next.box];
    if (IsLeaf(b)) {
      for (int k = b.begin, end = b.begin + b.live; k < end; ++k) {
        const End& e = ends_[static_cast<std::size_t>(k)];
        // Squared as PointDistance squares it; one beyond the limit is farther.
        if ((e.x - p.x) * (e.x - p.x) + (e.y - p.y) * (e.y - p.y) > best.limit) continue;
        const long item = e.code / 2;
        const double d = PointDistance(p, CDoublePoint(e.x, e.y));
        if (d < best.distance || (d == best.distance && best.item >= 0 && item < best.item)) {
          best = Best{d, item, Limit(d), next.box};
        }
      }
      continue;
    }
    // Boxes whose ends are all taken are not searched.
    const std::size_t lower = 2 * next.box + 1, upper = lower + 1;
    constexpr double kNever = std::numeric_limits<double>::infinity();
    const double reachL = boxes_[lower].live > 0 ? SquaredReach(p, boxes_[lower]) : kNever;
    const double reachU = boxes_[upper].live > 0 ? SquaredReach(p, boxes_[upper]) : kNever;
    const bool lowerFirst = reachL <= reachU;
    const Pending nearer{lowerFirst ? lower : upper, lowerFirst ? reachL : reachU};
    const Pending farther{lowerFirst ? upper : lower, lowerFirst ? reachU : reachL};
    if (farther.reach <= best.limit) pending[count++] = farther;
    if (nearer.reach <= best.limit) pending[count++] = nearer;
  }
}

void NearestEndTree::Remove(long i) {
  const auto u = static_cast<std::size_t>(i);
  // One by one: dropping the first end may move the second.
  for (const std::size_t code : {2 * u, 2 * u + 1})
    if (where_[code] >= 0) DropEnd(static_cast<std::size_t>(where_[code]));
}

void NearestEndTree::DropEnd(std::size_t at) {
  std::size_t box = static_cast<std::size_t>(leafOf_[at]);
  Box& leaf = boxes_[box];
  // The leaf keeps its ends still present first: the taken one trades
  // places with the last of them.
  const std::size_t last = static_cast<std::size_t>(leaf.begin + --leaf.live);
  std::swap(ends_[at], ends_[last]);
  where_[static_cast<std::size_t>(ends_[at].code)] = static_cast<long>(at);
  where_[static_cast<std::size_t>(ends_[last].code)] = -1;
  // The boxes shrink to the ends still present, up from the leaf, so that
  // no search opens a box for ends already taken; once a box keeps its
  // bounds, those above it keep theirs.
  bool shrinking = true;
  if (leaf.live > 0) {
    const Box before = leaf;
    FitBounds(leaf, static_cast<std::size_t>(leaf.begin), last);
    shrinking = !SameBounds(leaf, before);
  }
  while (box > 0) {
    box = (box - 1) / 2;
    Box& b = boxes_[box];
    --b.live;
    if (!shrinking || b.live == 0) continue;
    const Box& l = boxes_[2 * box + 1];
    const Box& u = boxes_[2 * box + 2];
    const Box& one = l.live > 0 ? l : u;
    const Box& other = u.live > 0 ? u : l;
    const Box before = b;
    b.minX = std::min(one.minX, other.minX);
    b.minY = std::min(one.minY, other.minY);
    b.maxX = std::max(one.maxX, other.maxX);
    b.maxY = std::max(one.maxY, other.maxY);
    shrinking = !SameBounds(b, before);
  }
}
