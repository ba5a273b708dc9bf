#include "text/exchange/dxf/DxfPointSink.h"

#include <climits>

DxfPointSink::DxfPointSink(double* values, std::uint8_t* flags, int room)
    : values_(values), flags_(flags), room_(room < 0 ? 0 : room) {}

void DxfPointSink::Add(double x, double y, std::uint8_t flag) {
  if (Filling() && !full_) {
    if (stored_ + 2 <= room_) {
      values_[stored_] = x;
      values_[stored_ + 1] = y;
      flags_[stored_ / 2] = flag;
      stored_ += 2;
    } else {
      full_ = true;
    }
  }
  produced_ += 2;
}

bool DxfPointSink::BlockFits(long long count) const {
  return Filling() && !full_ && stored_ + count <= room_;
}

void DxfPointSink::AddBlock(long long count, int written) {
  if (Filling() && !full_) {
    stored_ += written;
    if (written < count) full_ = true;
  }
  produced_ += count;
}

int DxfPointSink::Produced() const { return produced_ > INT_MAX ? INT_MAX : static_cast<int>(produced_); }
