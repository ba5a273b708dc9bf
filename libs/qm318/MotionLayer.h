#pragma once
// The motion layer of QM318: the four axes of card 0 in user units
// (millimetres or any length on a linear axis, degrees on a rotary one) with
// the axis parameter record, speed set-up, fixed, caller-profile, continuous
// and interpolated moves, jogging, arcs through three points and homing.
// Every move blocks its caller and polls the chip without pause, calling the
// host's callback once per pass; stop requests arrive through one_stop and
// all_stop from the callback or another thread.
//
// Results: 1 done, 0 ended by stop requests, -1 an axis not enabled (or not
// 1 to 4, or no card found), -2 a target outside the soft limits (homing:
// home not found), -3 a limit input seen, -4 / -5 see work_inp2 and work_arc.
#include <array>
#include <atomic>
#include <functional>
#include <vector>

#include "libs/qm318/AxisPara.h"
#include "libs/qm318/ChipLayer.h"
#include "libs/qm318/Qm318Api.h"

namespace qm318 {

// The circle through three points, as work_arc drives it.
struct ArcCircle {
  float centre_x, centre_y, start_angle, end_angle, radius, turn;
};
// 1, or 0 when the points give no circle (too close, or on one line).
int circle_from_points(const float* points, ArcCircle* circle);

// How work_arc walks the circle: from the start angle (radians) in chords of
// delta radians, count of them between the chord to the start point and the
// one to the end point.
// Chords of one arc at most: beyond it the chords grow (their sagitta stays
// far below a pulse on so large a circle) instead of their number.
constexpr int kMaxChords = 100000;

struct ArcPlan {
  float theta = 0, delta = 0;
  int count = 0;
};
// chordScale: the smaller pulses per unit of the two axes.
ArcPlan PlanArc(const ArcCircle& circle, float chordScale);

class MotionLayer {
 public:
  static constexpr int kSeekPulses = 10000000;
  static constexpr int kContinuousPulses = 100000000;
  explicit MotionLayer(ChipLayer& chip);

  // Board start-up and reads.
  int qm318_init_board();
  double get_logical_pos(int axis, int raw);
  double get_fact_pos(int axis, int raw);
  double get_move_speed(int axis, int raw);

  // Stops and I/O.
  int one_stop(int axis, int decelerate);
  int all_stop(int decelerate);
  int get_input(int bit) { return chip_.read_bit(0, bit); }
  int set_output(int bit, int on) { return chip_.write_bit(0, bit, on); }

  // Moves.
  struct AxisTarget {
    int axis;
    float distance;
    float start_speed = 0, drive_speed = 0, acc_time = 0;  // caller profile of free_move
  };
  int WorkMove(const std::vector<AxisTarget>& axes, int absolute, int speedSelect, QM318_CALLBACK callback);
  int FreeMove(const std::vector<AxisTarget>& axes, int absolute, QM318_CALLBACK callback);
  int ContinueMove(const std::vector<std::array<int, 2>>& axisDirs, int speedSelect, QM318_CALLBACK callback);
  int work_inp2(int axisA, float distanceA, int axisB, float distanceB, int absolute, int speedSelect,
                QM318_CALLBACK callback);
  int WorkInp(const std::vector<float>& distances, int absolute, int speedSelect, QM318_CALLBACK callback);
  int hand_move(int axis, int dir, QM318_CALLBACK callback);
  int work_arc(int axisA, int axisB, const float* points, int speedSelect, QM318_CALLBACK callback);
  int Home(const std::vector<int>& axes, QM318_CALLBACK callback);

  // Internal operations (also for the tests).
  void set_pulses_per_unit(int axis, float unitsPerRev, int pulsesPerRev);
  int units_to_pulses(int axis, float units) const;
  double pulses_to_units(int axis, int pulses) const;
  int set_const_speed(int axis, float speed);
  int set_speed_profile(int axis, float startSpeed, float driveSpeed, float accTime);
  void clear_stop_flag(int axis) { stop_[Index(axis)] = 0; }
  int read_limit_input(int axis, int negative);
  int read_home_input(int axis, int index);

  _AXIS_PARA& Para() { return para_; }
  float PulsesPerUnit(int axis) const { return pulsesPerUnit_[Index(axis)]; }
  int StopFlag(int axis) const { return stop_[Index(axis)]; }

 private:
  static bool ValidAxis(int axis) { return axis >= 1 && axis <= 4; }
  static std::size_t Index(int axis) { return static_cast<std::size_t>(axis - 1); }
  // Without card 0 no axis can move: every routine would report a move it
  // never made as done.
  bool Enabled(int axis) const { return ValidAxis(axis) && para_.enabled[Index(axis)] != 0 && chip_.CardCount() > 0; }
  bool Linear(int axis) const { return para_.linear[Index(axis)] != 0; }
  int Multiplier(int axis) const;
  int Position(int axis);
  bool Standing(int axis);
  // Target and soft-limit test: pulse distances of the axes, or false for -2.
  bool Targets(const std::vector<int>& axes, const std::vector<float>& distances, bool absolute,
               std::vector<int>& pulses);
  int SpeedSet(int axis, int speedSelect);
  bool AllStopped(const std::vector<int>& axes) const;
  // The same once the axes stand: a stop request of another thread that has
  // stopped the chip but not yet written its flag is waited for, so the stop
  // is not reported as a finished move.
  bool StoppedWhenStanding(const std::vector<int>& axes) const;
  // Whether every axis's drive stands.
  bool AllStanding(const std::vector<int>& axes);
  int PollMove(const std::vector<int>& axes, const std::vector<int>& pulses, const std::function<bool()>& standing,
               bool callbackBeforeFlags, QM318_CALLBACK callback);
  int PollFixed(const std::vector<int>& axes, const std::vector<int>& pulses, bool callbackBeforeFlags,
                QM318_CALLBACK callback);
  int PollInterpolated(const std::vector<int>& axes, const std::vector<int>& pulses, int pair,
                       QM318_CALLBACK callback);
  int Chord(int axisA, int axisB, float x, float y, bool last, QM318_CALLBACK callback);

  ChipLayer& chip_;
  _AXIS_PARA para_;
  std::array<float, 4> pulsesPerUnit_{};
  std::array<std::atomic<int>, 4> stop_{};
  std::array<std::atomic<int>, 4> stopsInFlight_{};
};

// The motion layer of the loaded library, on its chip layer.
MotionLayer& TheMotionLayer();

// Float to int toward zero, saturating, NaN to 0 (a float out of int range
// would otherwise be undefined).
int TruncToInt(double v);

}  // namespace qm318
