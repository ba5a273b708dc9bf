#pragma once
// Index over the two ends of hatch fill strokes, kept by the scan line each
// stroke came from, for the nearest-first order of the fill. It answers
// exactly what a plain scan of the strokes in index order would: the stroke
// whose nearer end has the strictly smallest distance, ties to the lowest
// index still present. Strokes are removed as they are taken.
//
// A fill's ends lie along its outline, not over its bounding box: cells laid
// over the box hold many ends each however they are sized. The scan lines
// are the natural cells instead. A line's hits come sorted along it, so the
// ends near a point are found next to its place in the line; the lines come
// in order across. Nothing on a line farther across than the best distance
// found, or farther along it, can be nearer, and taken ends and emptied
// lines are skipped in near-constant time. The order is exact whatever the
// strokes; their lines only decide how fast it is found.
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
  // The stroke a plain scan would take next from end e (2 x stroke + 0 for
  // its first end, + 1 for its second), whether that stroke is present or
  // already taken; turned when its second end is the nearer.
  long NearestFromEnd(std::size_t e, bool& turned);
  void Remove(long stroke);

 private:
  struct Line {
    std::uint32_t begin, end;  // its ends
    std::uint32_t present;     // strokes not taken
    double forward;            // 1 when its ends are sorted forwards along, -1 backwards
    double acrossLow, acrossHigh;
    double highestBelow;  // highest across of this line and the lines before
  };
  // Everything a search reads of one end but its point, together. Slot
  // e + 1 holds end e; slots 0 and one past the last end close both sides.
  struct Slot {
    double along;  // position along its line
    // A taken end points on towards the next (previous) present slot, a
    // present end or a closing slot at itself.
    std::uint32_t next, previous;
  };
  struct Candidate {
    double distance = 4e298;   // the scan's starting value
    double square = HUGE_VAL;  // a shade above the distance squared
    long stroke = -1;
    bool turned = false;
  };
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  double Along(const CDoublePoint& p) const { return p.x * alongX_ + p.y * alongY_; }
  double Across(const CDoublePoint& p) const { return p.y * alongX_ - p.x * alongY_; }
  double AlongOf(std::size_t e) const { return slots_[e + 1].along; }
  // The first present end at or after e, or the number of ends when none
  // is; the last present end before e, or kNone when none is.
  std::size_t Next(std::size_t e) { return slots_[e + 1].next == e + 1 ? e : NextTaken(e + 1) - 1; }
  std::size_t Previous(std::size_t e) { return slots_[e].previous == e ? e - 1 : PreviousTaken(e) - 1; }
  std::size_t NextTaken(std::size_t slot);
  std::size_t PreviousTaken(std::size_t slot);
  // The first line at or after l with strokes left, the last such line
  // before l; the number of lines when there is none.
  std::size_t NextLine(std::size_t l);
  std::size_t PreviousLine(std::size_t l);
  // The first end of line l at or beyond `along` in the line's order,
  // searched from the end that has `rank` ends before it along.
  std::size_t Place(const Line& l, double along, std::size_t rank) const;
  // The ends of line l on both sides of end `at` (`at` itself on the far
  // side), `gap` across from p, checked against the candidate as far as they
  // could beat it.
  void SearchLine(const Line& l, std::size_t at, const CDoublePoint& p, double along, double gap, Candidate& best);
  // Takes stroke s as the candidate when the scan would; true when it did.
  bool Consider(std::size_t stroke, const CDoublePoint& p, Candidate& best) const;
  // Asks for the ends the search from this stroke will read first.
  void Prefetch(std::size_t stroke) const;

  const CDoublePoint* ends_ = nullptr;
  std::size_t size_ = 0;  // ends
  double alongX_ = 1.0, alongY_ = 0.0;
  bool usable_ = false;
  double slack_ = 0.0;  // rounding of positions, far below any distance told apart
  std::size_t remaining_ = 0;
  std::vector<Slot> slots_;
  std::vector<Line> lines_;            // sorted across
  std::vector<std::uint32_t> lineOf_;  // line of each stroke
  // Emptied lines point on towards the next (previous) line with strokes
  // left; nextLine_ closes at the number of lines, previousLine_ (shifted
  // by one) at 0.
  std::vector<std::uint32_t> nextLine_, previousLine_;
};
