#include "marking/handtools/CPortAxisTester.h"

#include "document/geometry/SharedHelpers.h"
#include "document/geometry/SharedState.h"
#include "marking/controller/ControllerState.h"
#include "platform/Clock.h"

namespace {

// Which arrows run towards the origin in which corners; the others run a
// fixed count away from it.
struct ArrowRule {
  int axis;
  int direction;
  int homingCorners[2];
  int fixedPulses;
};

constexpr ArrowRule kArrowRules[] = {
    {AXIS_X, 1, {0, 1}, 1001},  // left
    {AXIS_X, 0, {2, 3}, 1001},  // right
    {AXIS_Y, 1, {0, 2}, 1000},  // up
    {AXIS_Y, 0, {1, 3}, 1000},  // down
};

// Clears the running flag however a run ends.
class RunScope {
 public:
  explicit RunScope(std::atomic<bool>& running) : running_(running) { running_ = true; }
  ~RunScope() { running_ = false; }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  std::atomic<bool>& running_;
};

void SetShadowBit(int bit, bool high) {
  if (high) OutputShadow.fetch_or(bit);
  else OutputShadow.fetch_and(~bit);
}

void WriteShadow() { WriteOutPort(static_cast<BYTE>(OutputShadow.load() & 0xFF)); }

}  // namespace

CPortAxisTester::CPortAxisTester(platform::Clock* clock) : clock_(clock) {}

platform::Clock& CPortAxisTester::ClockRef() const { return clock_ ? *clock_ : platform::CurrentClock(); }

int CPortAxisTester::HalfPeriodFor(double stepX, double stepY) {
  // Coarse steps need slower pulses: 125 x 2.32.
  if (stepX >= 4.5 || stepY >= 4.5) return static_cast<int>(kHalfPeriodMicros * 2.32);
  return kHalfPeriodMicros;
}

void CPortAxisTester::SetAxis(int axis, int direction, int pulse) {
  switch (axis) {
    case AXIS_X: SetAxisXDirection(direction, pulse); break;
    case AXIS_Y: SetAxisYDirection(direction, pulse); break;
    default: SetAxisZDirection(direction, pulse); break;
  }
}

void CPortAxisTester::WaitHalfPeriod() { ClockRef().BusyWaitMicros(halfPeriod_); }

void CPortAxisTester::Pulse(int axis, int direction) {
  SetAxis(axis, direction, 0);
  WriteShadow();
  WaitHalfPeriod();
  SetAxis(axis, direction, 1);  // counts the step
  WriteShadow();
  WaitHalfPeriod();
}

int CPortAxisTester::RunPulses(int axis, int direction, int count) {
  RunScope scope(running_);
  abort_ = false;
  SetAxis(axis, direction, 0);  // the direction first, on its own
  WriteShadow();
  int done = 0;
  for (; done < count && !abort_; ++done) Pulse(axis, direction);
  return done;
}

bool CPortAxisTester::OriginActive(int axis) {
  const BYTE first = ReadInPort();
  const BYTE second = ReadInPort();
  const BYTE both = static_cast<BYTE>(first & second);
  LastInputByte = both;
  const int levels = PortLevelByte.load();
  const int bit = axis == AXIS_X ? (both >> 7) & 1 : (both >> 5) & 1;
  const int level = axis == AXIS_X ? levels & 1 : (levels >> 1) & 1;
  return bit == level;
}

CPortAxisTester::RunResult CPortAxisTester::RunHoming(int axis, int direction, int limit) {
  RunScope scope(running_);
  abort_ = false;
  RunResult result;
  SetAxis(axis, direction, 0);
  WriteShadow();
  for (;;) {
    if (OriginActive(axis)) {
      AxisStepCounters[axis] = 0;
      result.atOrigin = true;
      return result;
    }
    if (result.pulses >= limit || abort_) return result;
    Pulse(axis, direction);
    ++result.pulses;
  }
}

CPortAxisTester::RunResult CPortAxisTester::RunArrow(Arrow arrow, int originCorner) {
  const ArrowRule& rule = kArrowRules[arrow];
  if (originCorner == rule.homingCorners[0] || originCorner == rule.homingCorners[1])
    return RunHoming(rule.axis, rule.direction);
  RunResult result;
  result.pulses = RunPulses(rule.axis, rule.direction, rule.fixedPulses);
  return result;
}

void CPortAxisTester::SetNeedle(bool on) {
  const int levels = PortLevelByte.load();
  SetShadowBit(OUT_NEEDLE, on ? (levels & 0x04) != 0 : (levels & 0x08) != 0);
  WriteShadow();
}

void CPortAxisTester::SetStepLine(int axis, bool active) {
  const int bit = axis == AXIS_X ? OUT_X_PULSE : (axis == AXIS_Y ? OUT_Y_PULSE : OUT_Z_PULSE);
  const int levels = PulseLevels.load();
  SetShadowBit(bit, active ? (levels & PULSE_LEVEL_ACTIVE) != 0 : (levels & PULSE_LEVEL_REST) != 0);
  WriteShadow();
}
