#pragma once
// Hands a reader's findings back through the caller's counters.
#include "text/exchange/hpgl/PltPointSink.h"

inline int FinishPltRead(const PltPointSink& sink, int* capacity, int* valueCount) {
  *capacity = sink.CapacityAfter();
  *valueCount = sink.StoredValues();
  return sink.Result();
}
