#include "tests/libs/ravelpen/SimulatedPlotterHead.h"

SimulatedPlotterHead::SimulatedPlotterHead(long long startX, long long startY) : x_(startX), y_(startY) {}

bool SimulatedPlotterHead::Read(WORD port, DWORD& value, BYTE size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (readFails_ || port != 889 || size != 1) return false;
  // X sensor reads 1 at zero; the Y sensor reads 0 at zero (the levels the
  // library's port opening configures).
  const bool xHome = !sensorsDead_ && x_ <= 0;
  const bool yHome = !sensorsDead_ && y_ <= 0;
  value = (xHome ? 0x20 : 0) | (yHome ? 0 : 0x80);
  return true;
}

bool SimulatedPlotterHead::Write(WORD port, DWORD value, BYTE size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (port != 888 || size != 1) return false;
  const std::uint8_t now = static_cast<std::uint8_t>(value);
  const bool penNow = (now & 0x80) != 0;
  if (penNow && !pen_) strokes_.push_back({{x_, y_}});
  pen_ = penNow;
  auto rising = [&](std::uint8_t bit) { return !(last_ & bit) && (now & bit); };
  bool moved = false;
  if (rising(0x04)) {
    // Direction bit set: toward positive machine X, away from the sensor.
    x_ += (now & 0x08) ? 1 : -1;
    order_ += 'X';
    moved = true;
  }
  if (rising(0x01)) {
    // Direction bit set: toward negative machine Y, away from the sensor.
    y_ += (now & 0x02) ? 1 : -1;
    order_ += 'Y';
    moved = true;
  }
  if (rising(0x10)) {
    z_ += (now & 0x20) ? 1 : -1;
    order_ += 'Z';
  }
  if (moved && pen_) strokes_.back().push_back({x_, y_});
  const bool home = x_ <= 0 && y_ <= 0;
  if (home && !wasHome_) ++homeArrivals_;
  wasHome_ = home;
  last_ = now;
  return true;
}

HeadPoint SimulatedPlotterHead::Position() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return {x_, y_};
}

std::vector<std::vector<HeadPoint>> SimulatedPlotterHead::Strokes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return strokes_;
}

std::string SimulatedPlotterHead::StepOrder() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return order_;
}

int SimulatedPlotterHead::HomeArrivals() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return homeArrivals_;
}

long long SimulatedPlotterHead::ZSteps() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return z_;
}

bool SimulatedPlotterHead::PenDown() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pen_;
}

void SimulatedPlotterHead::SetSensorsDead(bool dead) {
  std::lock_guard<std::mutex> lock(mutex_);
  sensorsDead_ = dead;
}

void SimulatedPlotterHead::SetReadFails(bool fails) {
  std::lock_guard<std::mutex> lock(mutex_);
  readFails_ = fails;
}

void SimulatedPlotterHead::ClearRecords() {
  std::lock_guard<std::mutex> lock(mutex_);
  order_.clear();
  strokes_.clear();
  homeArrivals_ = 0;
}
