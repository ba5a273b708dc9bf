// Board start-up, unit conversion, speed set-up and reads of the motion layer.
#include "libs/qm318/MotionLayer.h"

#include "libs/qm318/LibraryState.h"

#include <climits>
#include <cmath>

namespace qm318 {
namespace {

constexpr int kCard = 0;
constexpr float kAccelerationScale = 0.008f;  // register units per pulse/s^2
constexpr int kFastestAcceleration = 8000;

}  // namespace

int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

MotionLayer& TheMotionLayer() {
  static MotionLayer layer(TheChipLayer());
  return layer;
}

MotionLayer::MotionLayer(ChipLayer& chip) : chip_(chip), para_(DefaultAxisPara()) {
  pulsesPerUnit_.fill(1600.0f);
}

// A multiplier below 1 would divide the range and every speed by zero or
// turn them negative: it counts as 1.
int MotionLayer::Multiplier(int axis) const {
  const int m = para_.multiplier[Index(axis)];
  return m < 1 ? 1 : m;
}

int MotionLayer::qm318_init_board() {
  const int cards = chip_.qm318_initial();
  if (cards <= 0) return cards;
  if (!LoadAxisPara(ParameterFilePath(), para_)) return -3;
  for (int axis = 1; axis <= 4; ++axis) {
    const std::size_t i = Index(axis);
    if (para_.enabled[i] == 0) continue;
    chip_.set_range(kCard, axis, 8000000 / Multiplier(axis));
    chip_.set_pulse_mode(kCard, axis, 1, 0, para_.pulse_mode[i]);
    chip_.set_command_pos(kCard, axis, 0);
    chip_.set_actual_pos(kCard, axis, 0);
    set_pulses_per_unit(axis, para_.units_per_rev[i], para_.pulses_per_rev[i]);
    chip_.set_stop0_mode(kCard, axis, 0, 0);
    chip_.set_startv(kCard, axis, 100);
    chip_.set_speed(kCard, axis, 100);
    chip_.set_acc(kCard, axis, 20);
  }
  for (auto& flag : stop_) flag = 0;
  return 1;
}

void MotionLayer::set_pulses_per_unit(int axis, float unitsPerRev, int pulsesPerRev) {
  if (!ValidAxis(axis)) return;
  // NaN fails the comparison as well and counts as 1.0.
  const float units = unitsPerRev >= 0.001f ? unitsPerRev : 1.0f;
  const int pulses = pulsesPerRev < 200 ? 200 : pulsesPerRev;
  pulsesPerUnit_[Index(axis)] =
      Linear(axis) ? static_cast<float>(pulses / units) : static_cast<float>(pulses * (1.0 / 360.0));
}

int MotionLayer::units_to_pulses(int axis, float units) const {
  if (!ValidAxis(axis)) return 0;
  // The product of two floats is exact in double precision.
  return TruncToInt(static_cast<double>(units) * static_cast<double>(pulsesPerUnit_[Index(axis)]));
}

double MotionLayer::pulses_to_units(int axis, int pulses) const {
  if (!ValidAxis(axis)) return 0.0;
  const double perUnit = pulsesPerUnit_[Index(axis)];
  if (Linear(axis)) return pulses / perUnit;
  // A rotary position lies within one turn; a turn of no pulses would divide
  // by zero and counts as 200 pulses, as in the pulses-per-unit computation.
  int turn = para_.pulses_per_rev[Index(axis)];
  if (turn <= 0) turn = 200;
  return (pulses % turn) / perUnit;
}

int MotionLayer::set_const_speed(int axis, float speed) {
  if (!Enabled(axis)) return -1;
  const std::size_t i = Index(axis);
  double value;
  if (Linear(axis)) {
    if (!(speed > 0)) speed = 0.5f;
    value = speed * pulsesPerUnit_[i] / Multiplier(axis);
  } else {
    if (!(speed > 0)) speed = 0.1f;
    value = para_.pulses_per_rev[i] * speed / Multiplier(axis);
  }
  chip_.set_startv(kCard, axis, TruncToInt(value));
  chip_.set_speed(kCard, axis, TruncToInt(value));
  return 1;
}

int MotionLayer::set_speed_profile(int axis, float startSpeed, float driveSpeed, float accTime) {
  if (!Enabled(axis)) return -1;
  const std::size_t i = Index(axis);
  const float least = Linear(axis) ? 0.5f : 0.1f;
  if (!(startSpeed > 0)) startSpeed = least;
  if (!(driveSpeed > 0)) driveSpeed = least;
  if (startSpeed >= driveSpeed) {
    set_const_speed(axis, driveSpeed);
    return 1;
  }
  const float k = Linear(axis) ? pulsesPerUnit_[i] : static_cast<float>(para_.pulses_per_rev[i]);
  const int m = Multiplier(axis);
  chip_.set_startv(kCard, axis, TruncToInt(startSpeed * k / m));
  chip_.set_speed(kCard, axis, TruncToInt(driveSpeed * k / m));
  // No acceleration time means reaching the drive speed at once: the
  // fastest acceleration the chip takes (a division by zero otherwise).
  const int acc = accTime > 0 ? TruncToInt((driveSpeed - startSpeed) / accTime * k * kAccelerationScale / m)
                              : kFastestAcceleration;
  chip_.set_acc(kCard, axis, acc);
  return 1;
}

int MotionLayer::Position(int axis) {
  int pos = 0;
  chip_.get_command_pos(kCard, axis, &pos);
  return pos;
}

bool MotionLayer::Standing(int axis) {
  int status = 0;
  chip_.get_status(kCard, axis, &status);
  return status == 0;
}

double MotionLayer::get_logical_pos(int axis, int raw) {
  if (!ValidAxis(axis)) return 0.0;
  const int pos = Position(axis);
  return raw ? static_cast<double>(pos) : pulses_to_units(axis, pos);
}

double MotionLayer::get_fact_pos(int axis, int raw) {
  if (!ValidAxis(axis)) return 0.0;
  int pos = 0;
  chip_.get_actual_pos(kCard, axis, &pos);
  return raw ? static_cast<double>(pos) : pulses_to_units(axis, pos);
}

double MotionLayer::get_move_speed(int axis, int raw) {
  if (!ValidAxis(axis)) return 0.0;
  int reg = 0;
  chip_.get_speed(kCard, axis, &reg);
  const double v = static_cast<double>(static_cast<long long>(reg) * Multiplier(axis));
  return raw ? v : v / pulsesPerUnit_[Index(axis)];
}

int MotionLayer::one_stop(int axis, int decelerate) {
  if (!ValidAxis(axis)) return 1;
  // The chip stops first, so a loop that sees the flag finds the axis stopping.
  ++stopsInFlight_[Index(axis)];
  if (decelerate == 0) {
    chip_.sudden_stop(kCard, axis);
    stop_[Index(axis)] = 1;
  } else {
    chip_.dec_stop(kCard, axis);
    stop_[Index(axis)] = 2;
  }
  --stopsInFlight_[Index(axis)];
  return 1;
}

int MotionLayer::all_stop(int decelerate) {
  for (int axis = 1; axis <= 4; ++axis) one_stop(axis, decelerate);
  return 1;
}

// Inputs are active low; the -1 of a refused read counts as not active.
int MotionLayer::read_limit_input(int axis, int negative) {
  if (!ValidAxis(axis)) return 0;
  return chip_.read_bit(kCard, 8 * (axis - 1) + (negative ? 1 : 0)) == 0 ? 1 : 0;
}

int MotionLayer::read_home_input(int axis, int index) {
  if (!ValidAxis(axis)) return 0;
  return chip_.read_bit(kCard, 8 * (axis - 1) + (index ? 3 : 2)) == 0 ? 1 : 0;
}

}  // namespace qm318
