#pragma once
// Starts a reader's run and hands its findings back through the caller's counters.
#include <cstdint>

#include "text/exchange/hpgl/PltFile.h"
#include "text/exchange/hpgl/PltImport.h"
#include "text/exchange/hpgl/PltPointSink.h"

// Nothing counted yet and no end command met. False, with the status saying
// why, when the file did not open or holds no more than minSize bytes: the
// reader then has nothing to read.
inline bool BeginPltRead(const PltFile& file, std::int64_t minSize, int* valueCount, int* status) {
  *status = kPltStatusNoEnd;
  *valueCount = 0;
  if (!file.IsOpen()) {
    *status = kPltStatusNoFile;
    return false;
  }
  if (file.Size() <= minSize) {
    *status = kPltStatusTooShort;
    return false;
  }
  return true;
}

inline int FinishPltRead(const PltPointSink& sink, int* capacity, int* valueCount) {
  *capacity = sink.CapacityAfter();
  *valueCount = sink.StoredValues();
  return sink.Result();
}
