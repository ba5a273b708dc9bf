#pragma once
// Index over hatch fill strokes, kept by the scan line each stroke came from,
// for the nearest-first order of the fill. It answers exactly what a plain
// scan of the strokes in index order would: the stroke whose nearer end has
// the strictly smallest distance, ties to the lowest index still present.
// Strokes are removed as they are taken.
//
// A fill's ends lie along its outline, not over its bounding box: cells laid
// over the box hold many ends each however they are sized. The scan lines
// are the natural cells instead. A line's strokes come sorted along it, so
// the ends near a point are found next to its place in the line; the lines
// come in order across. Nothing on a line farther across than the best
// distance found, or farther along it, can be nearer. Which strokes and
// lines are left is kept in bits, so taken ones are passed over a word at a
// time, and what a search found empty on a line is kept for the next ones
// (strokes are only ever taken): a fill taken line by line looks closely
// only at the line it goes on to. The order is exact whatever the strokes;
// their lines only decide how fast it is found.
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/geometry/CDoublePoint.h"

class ScanLineEnds {
 public:
  // Indexes the strokes anew, keeping the storage of the last ones. Stroke
  // s runs from ends[2 s] to ends[2 s + 1]; strokes lineStart[k] up to
  // lineStart[k + 1] come from line k (the last line runs to the end), their
  // ends sorted along it, either way. (alongX, alongY) is the unit direction
  // of the lines. The ends must outlive their use.
  void Build(const CDoublePoint* ends, std::size_t strokes, const std::vector<int>& lineStart, double alongX,
             double alongY);

  // False when the ends do not fit the index (a line not sorted along, or a
  // coordinate too large or not finite to measure by): the caller orders
  // them another way.
  bool Usable() const { return usable_; }
  bool Empty() const { return remaining_ == 0; }
  // The nearer end of the stroke a plain scan would take next from end e
  // (ends are numbered 2 x stroke + 0 for the first, + 1 for the second),
  // whether e's stroke is present or already taken; kNoEnd when no stroke
  // is left.
  static constexpr std::size_t kNoEnd = static_cast<std::size_t>(-1);
  std::size_t NearestEnd(std::size_t e);
  void Remove(std::size_t stroke);

 private:
  // Which of a row of items are left: the next and the last one left from
  // any place in a few word operations, however many are gone between.
  class Presence {
   public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    void Fill(std::size_t count);
    void Clear(std::size_t i) {
      const std::size_t w = i / 64;
      words_[w] &= ~(std::uint64_t{1} << (i % 64));
      if (words_[w] == 0) summary_[w / 64] &= ~(std::uint64_t{1} << (w % 64));
    }
    bool Has(std::size_t i) const { return (words_[i / 64] >> (i % 64) & 1) != 0; }
    // The first item left at or after i, count when none is; the last at or
    // before i, kNone when none is (i may be kNone).
    std::size_t Next(std::size_t i) const {
      if (i >= count_) return count_;
      const std::uint64_t m = words_[i / 64] >> (i % 64);
      return m != 0 ? i + static_cast<std::size_t>(std::countr_zero(m)) : NextFromWord(i / 64 + 1);
    }
    std::size_t Previous(std::size_t i) const {
      if (i >= count_) return i == kNone || count_ == 0 ? kNone : Previous(count_ - 1);
      const std::uint64_t m = words_[i / 64] << (63 - i % 64);
      return m != 0 ? i - static_cast<std::size_t>(std::countl_zero(m)) : PreviousFromWord(i / 64);
    }

   private:
    // The first item left in word w or after, the last one before word w.
    std::size_t NextFromWord(std::size_t w) const;
    std::size_t PreviousFromWord(std::size_t w) const;
    std::size_t count_ = 0;
    std::vector<std::uint64_t> words_;    // bit i: item i is left
    std::vector<std::uint64_t> summary_;  // bit w: word w has any left
  };

  struct Line {
    std::uint32_t begin, end;  // its strokes
    double forward;            // 1 when its strokes are sorted forwards along, -1 backwards
    double acrossLow, acrossHigh;
    double highestBelow;  // highest across of this line and the lines before
  };
  // A stroke's ends as positions along its line, signed so that they grow
  // with the index in every line: low is its first end's, high its second's.
  struct Keys {
    double low, high;
  };
  // Positions from low to high along a line.
  struct Stretch {
    double low, high;
  };

  double Along(const CDoublePoint& p) const { return p.x * alongX_ + p.y * alongY_; }
  double Across(const CDoublePoint& p) const { return p.y * alongX_ - p.x * alongY_; }
  // The first stroke of line l whose first key is not below key, searched
  // from the stroke that has `rank` strokes before it along; Gallop when
  // the hint is more than a stroke off.
  std::size_t Place(const Line& l, double key, std::size_t rank) const;
  std::size_t Gallop(const Line& l, double key, std::size_t hint) const;
  // Asks for what the search from this stroke will read first.
  void Prefetch(std::size_t stroke) const;

  static constexpr double kFarAway = 4e298;  // farther than any position measured

  const CDoublePoint* ends_ = nullptr;
  std::size_t strokes_ = 0;
  double alongX_ = 1.0, alongY_ = 0.0;
  bool usable_ = false;
  double slack_ = 0.0;   // rounding of positions, far below any distance told apart
  double margin_ = 0.0;  // the slack and the stray of a line's order
  std::size_t remaining_ = 0;
  bool upFirst_ = true;  // the last stroke taken lay above the one before
  std::vector<Keys> keys_;
  std::vector<Line> lines_;             // sorted across
  std::vector<std::uint32_t> lineOf_;   // line of each stroke
  std::vector<std::uint32_t> present_;  // strokes left on each line
  std::vector<std::uint32_t> loose_;    // while building: lines whose ends are not in order exactly
  // A stretch of each line known to hold no end of a stroke left (but for
  // the stray): found by earlier searches, it spares walking the line again.
  std::vector<Stretch> empty_;
  Presence strokesLeft_, linesLeft_;
};

// Called once for every stroke of a fill, beside its search: inline.
inline void ScanLineEnds::Remove(std::size_t s) {
  if (s >= strokes_ || !strokesLeft_.Has(s)) return;
  strokesLeft_.Clear(s);
  --remaining_;
  const std::size_t l = lineOf_[s];
  if (--present_[l] == 0) {
    linesLeft_.Clear(l);
    empty_[l] = {-kFarAway, kFarAway};  // all of the line
  }
}
