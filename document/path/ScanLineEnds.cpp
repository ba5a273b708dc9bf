#include "document/path/ScanLineEnds.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr double kFarAway = 4e298;
// Coordinates beyond this are not indexed: their squares would overflow.
constexpr double kLargest = 1e150;
// A squared distance this much above the candidate's cannot give its
// distance or a tie once the root is taken.
constexpr double kSquareSlack = 1.0 + 1e-12;

}  // namespace

void ScanLineEnds::Build(const CDoublePoint* ends, std::size_t strokes, const std::vector<int>& lineStart,
                         double alongX, double alongY) {
  ends_ = ends;
  size_ = 2 * strokes;
  alongX_ = alongX;
  alongY_ = alongY;
  remaining_ = strokes;
  slots_.resize(size_ + 2);
  double largest = 0.0;
  for (std::size_t e = 0; e < size_; ++e) {
    const std::uint32_t slot = static_cast<std::uint32_t>(e + 1);
    slots_[slot] = {Along(ends[e]), slot, slot};
    largest = std::max({largest, std::fabs(ends[e].x), std::fabs(ends[e].y)});
  }
  slots_.front() = {-kFarAway, 0, 0};
  const std::uint32_t back = static_cast<std::uint32_t>(size_ + 1);
  slots_.back() = {kFarAway, back, back};
  // Not finite (NaN compares false) or too large to square.
  usable_ = largest < kLargest;
  if (!usable_) return;
  // Positions along and across are rounded a little; bounds taken from them
  // are widened by far more than that, and a line's ends may stray back by
  // less than a quarter of it.
  slack_ = 1e-9 * (1.0 + largest);
  const double stray = slack_ / 4;

  // The first end of each line, lines without strokes left out.
  std::vector<std::uint32_t>& begin = lineOf_;  // borrowed until the lines are laid
  begin.clear();
  if (strokes > 0) begin.push_back(0);
  for (int s : lineStart)
    if (s > 0 && static_cast<std::size_t>(s) < strokes && static_cast<std::uint32_t>(2 * s) > begin.back())
      begin.push_back(static_cast<std::uint32_t>(2 * s));
  lines_.resize(begin.size());
  for (std::size_t l = 0; l < begin.size(); ++l) {
    const std::size_t from = begin[l], to = l + 1 < begin.size() ? begin[l + 1] : size_;
    Line& line = lines_[l];
    line.begin = static_cast<std::uint32_t>(from);
    line.end = static_cast<std::uint32_t>(to);
    line.present = static_cast<std::uint32_t>((to - from) / 2);
    line.acrossLow = kFarAway;
    line.acrossHigh = -kFarAway;
    // Sorted along the line, one way or the other: no end lies farther back
    // than the stray from any end before it.
    bool up = true, down = true;
    double most = AlongOf(from), least = AlongOf(from);
    for (std::size_t e = from; e < to; ++e) {
      const double across = Across(ends[e]);
      line.acrossLow = std::min(line.acrossLow, across);
      line.acrossHigh = std::max(line.acrossHigh, across);
      const double along = AlongOf(e);
      up = up && most - along <= stray;
      down = down && along - least <= stray;
      most = std::max(most, along);
      least = std::min(least, along);
    }
    line.forward = up ? 1.0 : -1.0;
    usable_ = usable_ && (up || down);
  }
  if (!usable_) return;
  // Scan lines come in order across, one way or the other.
  auto lower = [](const Line& a, const Line& b) { return a.acrossLow < b.acrossLow; };
  if (!std::is_sorted(lines_.begin(), lines_.end(), lower)) {
    std::reverse(lines_.begin(), lines_.end());
    if (!std::is_sorted(lines_.begin(), lines_.end(), lower)) std::stable_sort(lines_.begin(), lines_.end(), lower);
  }
  lineOf_.resize(strokes);
  for (std::size_t l = 0; l < lines_.size(); ++l) {
    Line& line = lines_[l];
    line.highestBelow = l == 0 ? line.acrossHigh : std::max(lines_[l - 1].highestBelow, line.acrossHigh);
    for (std::size_t s = line.begin / 2; s < line.end / 2; ++s) lineOf_[s] = static_cast<std::uint32_t>(l);
  }
  nextLine_.resize(lines_.size() + 1);
  previousLine_.resize(lines_.size() + 1);
  std::iota(nextLine_.begin(), nextLine_.end(), std::uint32_t{0});
  std::iota(previousLine_.begin(), previousLine_.end(), std::uint32_t{0});
}

std::size_t ScanLineEnds::NextTaken(std::size_t slot) {
  while (slots_[slot].next != slot) {
    slots_[slot].next = slots_[slots_[slot].next].next;
    slot = slots_[slot].next;
  }
  return slot;
}

std::size_t ScanLineEnds::PreviousTaken(std::size_t slot) {
  while (slots_[slot].previous != slot) {
    slots_[slot].previous = slots_[slots_[slot].previous].previous;
    slot = slots_[slot].previous;
  }
  return slot;
}

std::size_t ScanLineEnds::NextLine(std::size_t l) {
  while (nextLine_[l] != l) {
    nextLine_[l] = nextLine_[nextLine_[l]];
    l = nextLine_[l];
  }
  return l;
}

std::size_t ScanLineEnds::PreviousLine(std::size_t l) {
  // Entry l stands for line l - 1.
  while (previousLine_[l] != l) {
    previousLine_[l] = previousLine_[previousLine_[l]];
    l = previousLine_[l];
  }
  return l == 0 ? lines_.size() : l - 1;
}

std::size_t ScanLineEnds::Place(const Line& l, double along, std::size_t rank) const {
  // before(e): end e lies before the place of `along` in the line's order.
  const double forward = l.forward;
  auto before = [&](std::size_t e) { return (AlongOf(e) - along) * forward < 0.0; };
  // Gallop from the hint to a range [low, high] that holds the place (the
  // ends before low are before it, high is the line's end or not before
  // it), then halve the range.
  const std::size_t n = l.end - l.begin;
  const std::size_t hint = l.forward > 0.0 ? l.begin + std::min(rank, n) : l.end - std::min(rank, n);
  std::size_t low = l.begin, high = l.end;
  if (hint < l.end && before(hint)) {
    low = hint + 1;
    for (std::size_t step = 1; low < l.end; step *= 2) {
      const std::size_t probe = std::min(low + step - 1, static_cast<std::size_t>(l.end) - 1);
      if (!before(probe)) {
        high = probe;
        break;
      }
      low = probe + 1;
    }
  } else {
    high = hint;
    for (std::size_t step = 1; high > l.begin; step *= 2) {
      const std::size_t probe = high - std::min(step, high - l.begin);
      if (before(probe)) {
        low = probe + 1;
        break;
      }
      high = probe;
    }
  }
  while (low < high) {
    const std::size_t mid = low + (high - low) / 2;
    if (before(mid))
      low = mid + 1;
    else
      high = mid;
  }
  return low;
}

bool ScanLineEnds::Consider(std::size_t stroke, const CDoublePoint& p, Candidate& best) const {
  const CDoublePoint& a = ends_[2 * stroke];
  const CDoublePoint& b = ends_[2 * stroke + 1];
  const double squareA = (a.x - p.x) * (a.x - p.x) + (a.y - p.y) * (a.y - p.y);
  const double squareB = (b.x - p.x) * (b.x - p.x) + (b.y - p.y) * (b.y - p.y);
  if (std::min(squareA, squareB) > best.square) return false;
  // The distances as the scan takes them; the farther end's only when the
  // squares are too close to tell which end is nearer.
  double d;
  bool turned;
  if (squareA * kSquareSlack < squareB) {
    d = PointDistance(p, a);
    turned = false;
  } else if (squareB * kSquareSlack < squareA) {
    d = PointDistance(p, b);
    turned = true;
  } else {
    const double toA = PointDistance(p, a), toB = PointDistance(p, b);
    d = std::min(toA, toB);
    turned = toB < toA;
  }
  const long i = static_cast<long>(stroke);
  if (!(d < best.distance || (d == best.distance && i < best.stroke))) return false;
  best.distance = d;
  best.square = d * d * kSquareSlack;
  best.stroke = i;
  best.turned = turned;
  return true;
}

void ScanLineEnds::SearchLine(const Line& l, std::size_t at, const CDoublePoint& p, double along, double gap,
                              Candidate& best) {
  const double forward = l.forward;
  const double margin = slack_ + slack_ / 4;
  // The present ends on both sides of `at`; mostly neither is near enough
  // to look closer at.
  std::size_t right = Next(at);
  std::size_t left = Previous(at);
  double reach = best.distance + margin;
  bool rightNear = right < l.end && (AlongOf(right) - along) * forward <= reach;
  bool leftNear = left != kNone && left >= l.begin && (along - AlongOf(left)) * forward <= reach;
  if (!rightNear && !leftNear) return;
  // An end `ahead` along the line from p and `gap` across is at least that
  // far in both: beyond `reach` ahead it cannot beat the candidate. Ends lie
  // farther along the farther they are from `at`, on both sides (but for
  // the stray), so the first one beyond ends the side.
  const double across = std::max(0.0, gap - slack_);
  auto reachOf = [&] {
    return across > 0.0 ? std::sqrt(std::max(0.0, best.square - across * across)) + margin : best.distance + margin;
  };
  reach = reachOf();
  while (rightNear) {
    if (Consider(right / 2, p, best)) reach = reachOf();
    right = Next(right + 1);
    rightNear = right < l.end && (AlongOf(right) - along) * forward <= reach;
  }
  leftNear = leftNear && (along - AlongOf(left)) * forward <= reach;
  while (leftNear) {
    if (Consider(left / 2, p, best)) reach = reachOf();
    left = Previous(left);
    leftNear = left != kNone && left >= l.begin && (along - AlongOf(left)) * forward <= reach;
  }
}

long ScanLineEnds::NearestFromEnd(std::size_t from, bool& turned) {
  const CDoublePoint& p = ends_[from];
  const double along = AlongOf(from), across = Across(p);
  Candidate best;
  const std::size_t own = lineOf_[from / 2];
  // Where p falls in a line, as a count of the line's ends before it along:
  // lines side by side cross the same outlines, so the count in one is a
  // good start for the search in the next.
  const Line& ownLine = lines_[own];
  const std::size_t ownRank = ownLine.forward > 0.0 ? from - ownLine.begin : ownLine.end - from;
  std::size_t upRank = ownRank, downRank = ownRank;
  auto search = [&](std::size_t l, std::size_t& rank) {
    const Line& line = lines_[l];
    const double gap = std::max(std::max(line.acrossLow - across, across - line.acrossHigh), 0.0);
    if (gap > best.distance + slack_) return;
    const std::size_t at = Place(line, along, rank);
    rank = line.forward > 0.0 ? at - line.begin : line.end - at;
    SearchLine(line, at, p, along, gap, best);
  };
  // Outwards across, up and down, while a line can still hold something
  // nearer; lines with nothing left are passed over at once. The lines
  // beside p's own come first: the next stroke of a fill mostly lies there,
  // and a near candidate cuts the walk along p's own line short.
  std::size_t up = NextLine(own + 1), down = PreviousLine(own);
  const std::size_t none = lines_.size();
  bool ownDone = ownLine.present == 0;
  while (up < none || down < none || !ownDone) {
    if (up < none) {
      if (lines_[up].acrossLow - across > best.distance + slack_) {
        up = none;
      } else {
        search(up, upRank);
        up = NextLine(up + 1);
      }
    }
    if (down < none) {
      if (across - lines_[down].highestBelow > best.distance + slack_) {
        down = none;
      } else {
        search(down, downRank);
        down = PreviousLine(down);
      }
    }
    if (!ownDone) {
      SearchLine(ownLine, from, p, along, 0.0, best);
      ownDone = true;
    }
  }
  if (best.stroke < 0) {
    // No distance below the scan's starting value: it keeps the first stroke.
    const std::size_t e = Next(0);
    if (e >= size_) return -1;
    turned = PointDistance(p, ends_[e | 1]) < PointDistance(p, ends_[e & ~std::size_t{1}]);
    return static_cast<long>(e / 2);
  }
  turned = best.turned;
  Prefetch(static_cast<std::size_t>(best.stroke));
  return best.stroke;
}

void ScanLineEnds::Prefetch(std::size_t stroke) const {
  // The next search starts from this stroke and looks at the lines beside
  // it, at about the same count of ends along. A fill taken up a narrow
  // column jumps a whole line of ends in memory each time: ask for them now.
  const std::size_t own = lineOf_[stroke];
  const Line& line = lines_[own];
  const std::size_t rank = line.forward > 0.0 ? 2 * stroke - line.begin : line.end - 2 * stroke;
  for (std::size_t l : {own - 1, own + 1}) {
    if (l >= lines_.size()) continue;
    const Line& beside = lines_[l];
    const std::size_t n = beside.end - beside.begin;
    const std::size_t at =
        beside.forward > 0.0 ? beside.begin + std::min(rank, n - 1) : beside.end - 1 - std::min(rank, n - 1);
    __builtin_prefetch(&slots_[at + 1]);
    __builtin_prefetch(&ends_[at]);
  }
}

void ScanLineEnds::Remove(long stroke) {
  const std::size_t s = static_cast<std::size_t>(stroke);
  if (stroke < 0 || 2 * s >= size_) return;
  const std::size_t slot = 2 * s + 1;
  if (slots_[slot].next != slot) return;
  --remaining_;
  const std::size_t l = lineOf_[s];
  if (--lines_[l].present == 0) {
    nextLine_[l] = static_cast<std::uint32_t>(l + 1);
    previousLine_[l + 1] = static_cast<std::uint32_t>(l);
  }
  for (std::size_t i = slot; i < slot + 2; ++i) {
    slots_[i].next = static_cast<std::uint32_t>(i + 1);
    slots_[i].previous = static_cast<std::uint32_t>(i - 1);
  }
}
