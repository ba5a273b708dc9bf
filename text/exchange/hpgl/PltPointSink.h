#pragma once
// Where a plot reader puts its points. In the counting pass (null arrays) it
// only counts; in the filling pass it stores while the room lasts and keeps
// counting past it, so the caller can see that it gave too little room.
#include <cstdint>

#include "platform/WinTypes.h"
#include "text/exchange/hpgl/PltImport.h"

class PltPointSink {
 public:
  // The count never passes this, so a caller's "count + spare" stays an int.
  static constexpr std::int64_t kCountLimit = 0x7FFFFFFF - 1024;

  PltPointSink(double* values, BYTE* penFlags, int room);

  bool Counting() const { return counting_; }
  // Whether the next point would be stored (worth computing).
  bool WouldStore() const { return !counting_ && stored_ + 2 <= room_ && logical_ == stored_; }
  // A counting pass past the values a drawing may hold: the file is refused
  // whatever follows, so the rest need not be read.
  bool CountPassed() const { return counting_ && logical_ > kPltMaxValues; }
  // Whether further points can change anything at all.
  bool Saturated() const { return logical_ >= kCountLimit || CountPassed(); }

  void Add(double x, double y, BYTE pen);
  // A point that is counted but whose value is not needed (room exhausted).
  void AddCountOnly();
  // Takes back the last point added, if any.
  void DropLast();

  int StoredValues() const { return static_cast<int>(stored_); }
  // The capacity counter after the pass.
  int CapacityAfter() const;
  // 4 when both the counter and the stored values reach 4, else 0.
  int Result() const;

 private:
  double* values_;
  BYTE* penFlags_;
  bool counting_;
  std::int64_t room_;
  std::int64_t stored_ = 0;   // values stored in the arrays
  std::int64_t logical_ = 0;  // values found so far
};
