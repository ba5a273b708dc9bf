#include "text/exchange/hpgl/PltPointSink.h"

#include <algorithm>

#include "text/exchange/hpgl/PltImport.h"

PltPointSink::PltPointSink(double* values, BYTE* penFlags, int room)
    : values_(values),
      penFlags_(penFlags),
      counting_(values == nullptr || penFlags == nullptr),
      room_(counting_ ? 0 : std::max(room, 0)) {}

void PltPointSink::Add(double x, double y, BYTE pen) {
  if (Saturated()) return;
  if (WouldStore()) {
    values_[stored_] = x;
    values_[stored_ + 1] = y;
    penFlags_[stored_ / 2] = pen;
    stored_ += 2;
  }
  logical_ += 2;
}

void PltPointSink::AddCountOnly() {
  if (Saturated()) return;
  logical_ += 2;
}

void PltPointSink::DropLast() {
  // A count past the limit stays past it.
  if (logical_ == 0 || CountPassed()) return;
  if (logical_ == stored_) stored_ -= 2;
  logical_ -= 2;
}

int PltPointSink::CapacityAfter() const {
  if (counting_) return static_cast<int>(logical_);
  return static_cast<int>(std::max(room_, logical_));
}

int PltPointSink::Result() const {
  return CapacityAfter() >= 4 && stored_ >= 4 ? kPltResultFilled : kPltResultNone;
}
