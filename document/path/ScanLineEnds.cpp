#include "document/path/ScanLineEnds.h"

#include <algorithm>
#include <bit>

namespace {

// Coordinates beyond this are not indexed: their squares would overflow.
constexpr double kLargest = 1e150;
// A squared distance this much above the candidate's cannot give its
// distance or a tie once the root is taken.
constexpr double kSquareSlack = 1.0 + 1e-12;
// A square below another by this factor has the smaller root as well, even
// after both roots are rounded (and among the smallest numbers too).
constexpr double kClearlyBelow = 1.0 - 1e-14;

// Whether the distance taken from `square` is below the one taken from
// `other`, or equal to it when `tieWins`: the scan's rule on distances,
// applied where the squares alone cannot tell.
bool RootBelow(double square, double other, bool tieWins) {
  const double d = std::sqrt(square), o = std::sqrt(other);
  return d < o || (d == o && tieWins);
}

// Whether a gap (which may be negative) is beyond the candidate's distance,
// `bestSquare` being a shade above its square.
bool Beyond(double gap, double bestSquare) { return gap > 0.0 && gap * gap > bestSquare; }
constexpr std::uint64_t kAll = ~std::uint64_t{0};

// The bits of a word up to and including bit b.
std::uint64_t UpTo(std::size_t b) { return kAll >> (63 - b); }
std::size_t Highest(std::uint64_t m) { return 63 - static_cast<std::size_t>(std::countl_zero(m)); }
std::size_t Lowest(std::uint64_t m) { return static_cast<std::size_t>(std::countr_zero(m)); }

}  // namespace

void ScanLineEnds::Presence::Fill(std::size_t count) {
  count_ = count;
  const std::size_t words = (count + 63) / 64;
  words_.assign(words, kAll);
  if (count % 64 != 0) words_.back() = UpTo(count % 64 - 1);
  summary_.assign((words + 63) / 64, kAll);
  if (words % 64 != 0) summary_.back() = UpTo(words % 64 - 1);
}

std::size_t ScanLineEnds::Presence::NextFromWord(std::size_t w) const {
  std::size_t s = w / 64;
  if (s >= summary_.size()) return count_;
  std::uint64_t m = summary_[s] & (kAll << (w % 64));
  while (m == 0) {
    if (++s == summary_.size()) return count_;
    m = summary_[s];
  }
  const std::size_t word = s * 64 + Lowest(m);
  return word * 64 + Lowest(words_[word]);
}

std::size_t ScanLineEnds::Presence::PreviousFromWord(std::size_t w) const {
  if (w == 0) return kNone;
  --w;
  std::size_t s = w / 64;
  std::uint64_t m = summary_[s] & UpTo(w % 64);
  while (m == 0) {
    if (s == 0) return kNone;
    m = summary_[--s];
  }
  const std::size_t word = s * 64 + Highest(m);
  return word * 64 + Highest(words_[word]);
}

void ScanLineEnds::Build(const CDoublePoint* ends, std::size_t strokes, const std::vector<int>& lineStart,
                         double alongX, double alongY) {
  ends_ = ends;
  strokes_ = strokes;
  alongX_ = alongX;
  alongY_ = alongY;
  remaining_ = strokes;
  upFirst_ = true;
  keys_.resize(strokes);
  lineOf_.resize(strokes);
  // As many lines as the scan says at most, trimmed to those laid. Written
  // through plain pointers: the vectors' own pointers need not be read anew
  // after every store.
  lines_.resize(lineStart.size() + 1);
  present_.resize(lineStart.size() + 1);
  Keys* const keys = keys_.data();
  std::uint32_t* const lineOf = lineOf_.data();
  Line* const lines = lines_.data();
  std::uint32_t* const present = present_.data();
  std::uint32_t laid = 0;
  // One pass lays each line's keys along, signed the way its first end and
  // its last run, its band across, and whether its ends come in that order
  // exactly (mostly they do); lines that do not are kept for the tolerant
  // check below.
  double largest = 0.0;
  bool finite = true;
  bool acrossInOrder = true;
  double highest = -kFarAway;
  double lowestBefore = -kFarAway;
  std::vector<std::uint32_t>& loose = loose_;
  loose.clear();
  std::size_t from = 0;
  auto lay = [&](std::size_t to) __attribute__((always_inline)) {
    if (to <= from) return;
    const double first = Along(ends[2 * from]);
    const double sign = Along(ends[2 * to - 1]) < first ? -1.0 : 1.0;
    double acrossLow = kFarAway, acrossHigh = -kFarAway;
    bool exact = true;
    double previous = sign * first;
    for (std::size_t s = from; s < to; ++s) {
      const CDoublePoint& a = ends[2 * s];
      const CDoublePoint& b = ends[2 * s + 1];
      const double size = std::max(std::max(std::fabs(a.x), std::fabs(a.y)), std::max(std::fabs(b.x), std::fabs(b.y)));
      finite &= size < kLargest;  // false for NaN too
      largest = std::max(largest, size);
      const double acrossA = Across(a), acrossB = Across(b);
      acrossLow = std::min(acrossLow, std::min(acrossA, acrossB));
      acrossHigh = std::max(acrossHigh, std::max(acrossA, acrossB));
      const double alongA = sign * Along(a), alongB = sign * Along(b);
      exact &= (previous <= alongA) & (alongA <= alongB);
      previous = alongB;
      keys[s] = {alongA, alongB};
      lineOf[s] = laid;
    }
    if (acrossLow < lowestBefore) acrossInOrder = false;
    lowestBefore = acrossLow;
    highest = std::max(highest, acrossHigh);
    lines[laid] = Line{static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(to), sign, acrossLow, acrossHigh,
                       highest};
    present[laid] = static_cast<std::uint32_t>(to - from);
    if (!exact) loose.push_back(laid);
    ++laid;
    from = to;
  };
  for (int s : lineStart)
    if (s > 0 && static_cast<std::size_t>(s) < strokes) lay(static_cast<std::size_t>(s));
  lay(strokes);
  lines_.resize(laid);
  present_.resize(laid);
  // Not finite or too large to square.
  usable_ = finite;
  if (!usable_) return;
  // Positions along and across are rounded a little; bounds taken from them
  // are widened by far more than that, and a line's ends may stray back by
  // less than a quarter of it.
  slack_ = 1e-9 * (1.0 + largest);
  const double stray = slack_ / 4;
  margin_ = slack_ + stray;
  // Sorted along the line, one way or the other: no end lies farther back
  // than the stray from any end before it. Either way that holds serves the
  // search alike.
  auto sorted = [&](const Line& line, double sign) {
    double most = sign * keys_[line.begin].low;
    for (std::size_t s = line.begin; s < line.end; ++s) {
      for (const double key : {sign * keys_[s].low, sign * keys_[s].high}) {
        if (most - key > stray) return false;
        most = std::max(most, key);
      }
    }
    return true;
  };
  for (const std::uint32_t l : loose) {
    Line& line = lines_[l];
    // Forwards when it holds, as the keys unsigned.
    if (line.forward < 0.0)
      for (std::size_t s = line.begin; s < line.end; ++s) keys_[s] = {-keys_[s].low, -keys_[s].high};
    line.forward = 1.0;
    if (sorted(line, 1.0)) continue;
    if (!sorted(line, -1.0)) {
      usable_ = false;
      return;
    }
    line.forward = -1.0;
    for (std::size_t s = line.begin; s < line.end; ++s) keys_[s] = {-keys_[s].low, -keys_[s].high};
  }
  // Scan lines come in order across, one way or the other.
  if (!acrossInOrder) {
    auto lower = [](const Line& a, const Line& b) { return a.acrossLow < b.acrossLow; };
    std::reverse(lines_.begin(), lines_.end());
    if (std::is_sorted(lines_.begin(), lines_.end(), lower)) {
      const auto top = static_cast<std::uint32_t>(lines_.size() - 1);
      for (std::uint32_t& l : lineOf_) l = top - l;
    } else {
      std::stable_sort(lines_.begin(), lines_.end(), lower);
      for (std::size_t l = 0; l < lines_.size(); ++l)
        std::fill(lineOf_.begin() + lines_[l].begin, lineOf_.begin() + lines_[l].end, static_cast<std::uint32_t>(l));
    }
    highest = -kFarAway;
    for (std::size_t l = 0; l < lines_.size(); ++l) {
      Line& line = lines_[l];
      highest = std::max(highest, line.acrossHigh);
      line.highestBelow = highest;
      present_[l] = line.end - line.begin;
    }
  }
  empty_.assign(lines_.size(), Stretch{kFarAway, -kFarAway});
  strokesLeft_.Fill(strokes);
  linesLeft_.Fill(lines_.size());
}

std::size_t ScanLineEnds::Gallop(const Line& l, double key, std::size_t hint) const {
  auto before = [&](std::size_t s) { return keys_[s].low < key; };
  // Gallop from the hint to a range [low, high] that holds the place (the
  // strokes before low are before it, high is the line's end or not before
  // it), then halve the range.
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

inline std::size_t ScanLineEnds::Place(const Line& l, double key, std::size_t rank) const {
  const std::size_t n = l.end - l.begin;
  const std::size_t r = std::min(rank, n);
  const std::size_t at = l.forward > 0.0 ? l.begin + r : l.end - r;
  // Mostly the hint is the place or next to it.
  if (at < l.end && keys_[at].low < key) {
    if (at + 1 == l.end || !(keys_[at + 1].low < key)) return at + 1;
  } else if (at > l.begin && !(keys_[at - 1].low < key)) {
    if (at - 1 == l.begin || keys_[at - 2].low < key) return at - 1;
  } else {
    return at;
  }
  return Gallop(l, key, at);
}

inline void ScanLineEnds::Prefetch(std::size_t stroke) const {
  // The next search starts from this stroke and looks first at the line
  // beside it on the side the fill went on to, at about the same count of
  // strokes along. A fill taken up a narrow column jumps a whole line in
  // memory each time: ask for it now. The line on the other side was mostly
  // just read.
  const std::size_t own = lineOf_[stroke];
  const std::size_t l = upFirst_ ? own + 1 : own - 1;
  if (l >= lines_.size()) return;
  const Line& line = lines_[own];
  const std::size_t rank = line.forward > 0.0 ? stroke - line.begin : line.end - stroke;
  const Line& beside = lines_[l];
  const std::size_t n = beside.end - beside.begin;
  const std::size_t at =
      beside.forward > 0.0 ? beside.begin + std::min(rank, n - 1) : beside.end - 1 - std::min(rank, n - 1);
  __builtin_prefetch(&keys_[at]);
  __builtin_prefetch(&ends_[2 * at]);
}

std::size_t ScanLineEnds::NearestEnd(std::size_t from) {
  const Keys* const keys = keys_.data();
  const Line* const lines = lines_.data();
  const CDoublePoint* const ends = ends_;
  const double margin = margin_, slack = slack_;
  const std::size_t own = lineOf_[from / 2];
  const Line& ownLine = lines[own];
  const CDoublePoint& p = ends[from];
  const double ownKey = from % 2 == 0 ? keys[from / 2].low : keys[from / 2].high;
  const double along = ownKey * ownLine.forward, across = Across(p);
  // The candidate is kept by its square, from which the scan takes its
  // distance: the roots are only needed where two squares are too close to
  // tell the roots apart.
  double bestRaw = HUGE_VAL;     // the candidate's square
  double bestSquare = HUGE_VAL;  // a shade above it
  std::size_t best = Presence::kNone;

  // Takes stroke s as the candidate when the scan would. Every square of
  // coordinates that are indexed is finite, so every distance is below the
  // scan's starting value.
  // The square of an end's distance from p, as the scan's distance takes it.
  auto squareTo = [&](const CDoublePoint& e) __attribute__((always_inline)) {
    return (e.x - p.x) * (e.x - p.x) + (e.y - p.y) * (e.y - p.y);
  };
  auto consider = [&](std::size_t s) __attribute__((always_inline)) {
    const double square = std::min(squareTo(ends[2 * s]), squareTo(ends[2 * s + 1]));
    if (square > bestSquare) return;
    if (!(square < bestRaw * kClearlyBelow) && !RootBelow(square, bestRaw, s < best)) return;
    bestRaw = square;
    bestSquare = square * kSquareSlack;
    best = s;
  };
  // The present strokes of a line from stroke `right` on and from `left`
  // back, `gapSquare` squared across from p, as far as they could beat the
  // candidate. A stroke `ahead` along the line from p and the gap across is
  // at least that far in both: beyond the candidate's distance it cannot
  // beat it, nor can the strokes beyond it, which lie farther along (but
  // for the stray, within the margin). Any place splits the line correctly;
  // a good one leaves little to walk. Taken strokes bound the walk as well
  // as present ones: mostly the first stroke on each side ends it. Past the
  // first few, taken strokes are jumped over.
  constexpr int kSteps = 2;
  // Returns the stretch around key that the walk found without present
  // strokes, as the keys that bound it.
  auto walk = [&](const Line& line, std::size_t right, std::size_t left, double key, double gapSquare)
                  __attribute__((always_inline)) {
    Stretch empty{-kFarAway, kFarAway};
    int steps = 0;
    for (std::size_t s = right; s < line.end;) {
      const double low = keys[s].low;
      const double ahead = low - key - margin;
      if (ahead > 0.0 && ahead * ahead + gapSquare > bestSquare) {
        empty.high = std::min(empty.high, low);
        break;
      }
      if (strokesLeft_.Has(s)) {
        empty.high = std::min(empty.high, low);
        consider(s);
      }
      s = ++steps < kSteps ? s + 1 : strokesLeft_.Next(s + 1);
    }
    steps = 0;
    // `past` is one beyond the stroke looked at, so that none is 0.
    for (std::size_t past = left + 1; past > line.begin;) {
      const double high = keys[past - 1].high;
      const double behind = key - high - margin;
      if (behind > 0.0 && behind * behind + gapSquare > bestSquare) {
        empty.low = std::max(empty.low, high);
        break;
      }
      if (strokesLeft_.Has(past - 1)) {
        empty.low = std::max(empty.low, high);
        consider(past - 1);
      }
      past = ++steps < kSteps ? past - 1 : strokesLeft_.Previous(past - 2) + 1;
    }
    return empty;
  };
  // Keeps what a walk found empty on line l, along: strokes are only ever
  // taken, so it stays empty, and joins what was found before when the two
  // overlap by more than the stray at their edges.
  auto keep = [&](std::size_t l, double forward, const Stretch& key) __attribute__((always_inline)) {
    const Stretch found = forward > 0.0 ? key : Stretch{-key.high, -key.low};
    Stretch& known = empty_[l];
    if (found.low + margin < known.high && known.low + margin < found.high) {
      known.low = std::min(known.low, found.low);
      known.high = std::max(known.high, found.high);
    } else {
      known = found;
    }
  };
  // Whether nothing in a stretch known empty, `gapSquare` squared across,
  // can beat the candidate.
  auto beyond = [&](const Stretch& known, double gapSquare) __attribute__((always_inline)) {
    const double clear = std::min(along - known.low, known.high - along) - margin;
    return clear > 0.0 && clear * clear + gapSquare > bestSquare;
  };

  // Outwards across on both sides, while a line can still hold something
  // nearer; lines with nothing left are passed over at once. Where p falls
  // in a line is kept as a count of the line's strokes before it along:
  // lines side by side cross the same outlines, so the count in one is a
  // good start for the search in the next.
  auto visit = [&](std::size_t l, double gap, std::size_t& rank) __attribute__((always_inline)) {
    const Line& line = lines[l];
    const double key = along * line.forward;
    const double gapSquare = gap > 0.0 ? gap * gap : 0.0;
    // What is known empty on the line may leave nothing near enough.
    if (beyond(empty_[l], gapSquare)) return;
    const std::size_t at = Place(line, key, rank);
    rank = line.forward > 0.0 ? at - line.begin : line.end - at;
    walk(line, at, at - 1, key, gapSquare);
  };
  const std::size_t none = lines_.size();
  const std::size_t last = none - 1;
  std::size_t upRank = ownLine.forward > 0.0 ? from / 2 - ownLine.begin : ownLine.end - from / 2;
  std::size_t downRank = upRank;
  std::size_t up = own < last && present_[own + 1] != 0 ? own + 1 : linesLeft_.Next(own + 1);
  std::size_t down = own > 0 && present_[own - 1] != 0 ? own - 1 : linesLeft_.Previous(own - 1);
  auto stepUp = [&]() __attribute__((always_inline)) {
    if (up >= none) return false;
    const Line& line = lines[up];
    if (Beyond(line.acrossLow - across - slack, bestSquare)) {
      up = none;
      return false;
    }
    const double gap = std::max(line.acrossLow - across, across - line.acrossHigh) - slack;
    visit(up, gap, upRank);
    up = up < last && present_[up + 1] != 0 ? up + 1 : linesLeft_.Next(up + 1);
    return true;
  };
  auto stepDown = [&]() __attribute__((always_inline)) {
    if (down >= none) return false;  // kNone below the first line
    const Line& line = lines[down];
    if (Beyond(across - line.highestBelow - slack, bestSquare)) {
      down = none;
      return false;
    }
    const double gap = std::max(line.acrossLow - across, across - line.acrossHigh) - slack;
    visit(down, gap, downRank);
    down = down > 0 && present_[down - 1] != 0 ? down - 1 : linesLeft_.Previous(down - 1);
    return true;
  };
  // The side the fill went on to last time first: there the next stroke
  // mostly lies, and found first it bounds the walk over the strokes just
  // taken on the other side. Then along p's own line from its stroke, which
  // is still there on the first search only.
  if (upFirst_) {
    stepUp();
    stepDown();
  } else {
    stepDown();
    stepUp();
  }
  const std::size_t s0 = from / 2;
  {
    // Mostly the strokes beside p's own lie farther than the candidate
    // already: nothing between them is left, and the walk is not needed.
    const bool ownLeft = strokesLeft_.Has(s0);  // on the first search only
    const double lowKey = s0 > ownLine.begin ? keys[s0 - 1].high : -kFarAway;
    const double highKey = s0 + 1 < ownLine.end ? keys[s0 + 1].low : kFarAway;
    const bool beside = !ownLeft && Beyond(ownKey - lowKey - margin, bestSquare) &&
                        Beyond(highKey - ownKey - margin, bestSquare);
    if (beside)
      keep(own, ownLine.forward, Stretch{lowKey, highKey});
    else
      keep(own, ownLine.forward, walk(ownLine, ownLeft ? s0 : s0 + 1, s0 - 1, ownKey, 0.0));
  }
  while (stepUp() | stepDown()) {
  }
  if (best == Presence::kNone) {
    // No distance below the scan's starting value: it keeps the first stroke.
    best = strokesLeft_.Next(0);
    if (best >= strokes_) return kNoEnd;
  }
  const double squareA = squareTo(ends[2 * best]), squareB = squareTo(ends[2 * best + 1]);
  const bool turned = squareB < squareA * kClearlyBelow || (squareB < squareA && RootBelow(squareB, squareA, false));
  if (lineOf_[best] != own) upFirst_ = lineOf_[best] > own;
  Prefetch(best);
  return 2 * best + (turned ? 1 : 0);
}

