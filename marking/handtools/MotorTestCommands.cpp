#include "marking/handtools/MotorTestCommands.h"

#include <algorithm>
#include <cmath>

#include "document/geometry/SharedState.h"
#include "marking/link/WireProtocol.h"

std::vector<BYTE> BuildTestSpeedBlock(int frequency, double scale) {
  const std::uint16_t divider = PulseDivider(std::clamp(frequency, 1, 500));
  double on = divider * scale * 0.01;
  if (!(on >= 0)) on = 0;  // also a NaN
  on = std::min(on, 65535.0);
  const auto e = static_cast<std::uint16_t>(on);
  return {static_cast<BYTE>('0'), static_cast<BYTE>(divider >> 8), static_cast<BYTE>(divider & 0xFF),
          static_cast<BYTE>(e >> 8), static_cast<BYTE>(e & 0xFF)};
}

std::vector<BYTE> WireTestCommand(int type, const BYTE* bytes, int length, bool framed) {
  length = std::clamp(length, 0, kFrameSize - 2);
  if (!framed) return std::vector<BYTE>(bytes, bytes + length);
  if (length == 0) return {};
  BYTE frame[kFrameSize];
  const BYTE command = type == TEST_SPEED ? FRAME_SPEED : bytes[0];
  BuildFrame(frame, command, bytes + 1, length - 1);
  return std::vector<BYTE>(frame, frame + kFrameSize);
}

int TestReplyTimeoutMs(int type) {
  const int own = CommandTimeoutMs(type);
  return own > 0 ? own : kTestReplyTimeoutMs;
}

namespace {

void AddSteps(std::atomic<std::int32_t>& counter, int delta, bool floorAtZero) {
  std::int32_t old = counter.load();
  for (;;) {
    std::int32_t next = old + delta;
    if (floorAtZero && next < 0) next = 0;
    if (counter.compare_exchange_weak(old, next)) return;
  }
}

}  // namespace

bool ApplyTestReplyToCounters(int type) {
  switch (type) {
    case TEST_X_LEFT: AddSteps(AxisStepCounters[AXIS_X], -1000, true); return true;
    case TEST_X_RIGHT: AddSteps(AxisStepCounters[AXIS_X], 1000, false); return true;
    case TEST_Y_UP: AddSteps(AxisStepCounters[AXIS_Y], -1000, true); return true;
    case TEST_Y_DOWN: AddSteps(AxisStepCounters[AXIS_Y], 1000, false); return true;
    case TEST_Z_FIRST: AddSteps(AxisStepCounters[AXIS_Z], 1000, false); return true;
    case TEST_Z_SECOND: AddSteps(AxisStepCounters[AXIS_Z], -1000, false); return true;
    default: return false;
  }
}

bool FrequencyEditTaken(int current, long long typed) {
  return typed != current && typed >= 1 && typed <= kFrequencyEditMax;
}

bool ScaleEditTaken(double current, double typed) {
  return std::isfinite(typed) && std::fabs(typed - current) >= 0.0001 && typed >= kScaleMin && typed <= kScaleMax;
}

int SpinFrequency(int current, int delta) {
  if (delta > 0) return current < kFrequencySpinMax ? current + 1 : current;
  if (delta < 0) return current > 1 ? current - 1 : current;
  return current;
}

double SpinScale(double current, int delta, bool microStep) {
  const double step = microStep ? 0.1 : 0.5;
  if (delta > 0) {
    if (current >= kScaleMax) return current;
    return std::min(current + step, kScaleMax);
  }
  if (delta < 0) {
    if (current < 0.5) return current;
    return std::max(current - step, 0.0);
  }
  return current;
}

bool ScaleSpinTaken(double before, double after) { return std::fabs(after - before) >= 0.00001; }
