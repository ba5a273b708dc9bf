#pragma once
// The hardware test on the port boards: pulses one axis through the output
// port with a fixed half period, runs an arrow either a fixed number of
// pulses or towards the origin switch, and sets the needle and the step lines
// by hand. Every wait runs on the clock's busy wait, which keeps the window
// messages moving.
#include <atomic>

namespace platform {
class Clock;
}

class CPortAxisTester {
 public:
  enum Arrow { ARROW_LEFT, ARROW_RIGHT, ARROW_UP, ARROW_DOWN };
  static constexpr int kHalfPeriodMicros = 125;
  static constexpr int kHomingLimit = 1000;

  struct RunResult {
    int pulses = 0;
    bool atOrigin = false;  // a homing run found its origin switch
  };

  // clock: null for the process clock.
  explicit CPortAxisTester(platform::Clock* clock = nullptr);

  void SetHalfPeriodMicros(int micros) { halfPeriod_ = micros; }
  int HalfPeriodMicros() const { return halfPeriod_; }
  // 125, or 290 for coarse steps (4.5 micrometres or more on X or Y).
  static int HalfPeriodFor(double stepX, double stepY);

  // One arrow press, homing or fixed by the machine's origin corner (0..3).
  RunResult RunArrow(Arrow arrow, int originCorner);
  // count pulses on one axis (AXIS_X, AXIS_Y, AXIS_Z) in one direction.
  int RunPulses(int axis, int direction, int count);
  // Pulses until the axis's origin input is active, at most limit; the axis
  // counter is 0 when the origin was found.
  RunResult RunHoming(int axis, int direction, int limit = kHomingLimit);
  // The origin input of X (input bit 7) or Y (bit 5), read twice and ANDed,
  // against its level in the port level byte. The reading is kept as the last
  // input byte.
  bool OriginActive(int axis);

  // Needle bit at its needle-down (on) or needle-up level, written.
  void SetNeedle(bool on);
  // The axis's step line at its active or its rest level, written.
  void SetStepLine(int axis, bool active);

  // Ends a run early (a run in progress stops before its next pulse).
  void Abort() { abort_ = true; }
  bool Running() const { return running_.load(); }

 private:
  void Pulse(int axis, int direction);
  void SetAxis(int axis, int direction, int pulse);
  void WaitHalfPeriod();
  platform::Clock& ClockRef() const;

  platform::Clock* clock_;
  int halfPeriod_ = kHalfPeriodMicros;
  std::atomic<bool> abort_{false};
  std::atomic<bool> running_{false};
};
