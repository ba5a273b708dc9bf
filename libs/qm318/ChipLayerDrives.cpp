// Drives, stops and interpolated moves of the chip layer.
#include <cmath>
#include <optional>

#include "libs/qm318/ChipLayer.h"

namespace qm318 {
namespace {

constexpr WORD kCommand = 0x0, kInterpolationMode = 0xA;
constexpr WORD kChipReset = 0x8000;
constexpr std::uint32_t kInterpolating = 0x0100;

// A range times a factor, truncated toward zero as the chip's range field takes it.
std::int32_t ScaledRange(int range, double factor) { return static_cast<std::int32_t>(range * factor); }

}  // namespace

void ChipLayer::ResetChip2Locked(int card) {
  Write16(ChipPort(card, 2, kCommand), kChipReset);
  for (int axis : {3, 4}) {
    const AxisShadow& s = Axis(card, axis);
    Write16(ChipPort(card, 2, kCommand), AxisBit(axis) + 0x0F);
    Write16(ChipPort(card, 2, 0x2), s.mode1);
    Write16(ChipPort(card, 2, 0x4), s.mode2);
    Write16(ChipPort(card, 2, 0x6), s.mode3);
  }
}

int ChipLayer::reset_chip2(int card) {
  if (!ValidCard(card)) return 1;
  std::lock_guard lock(lock_);
  ResetChip2Locked(card);
  return 0;
}

// Chip 2 still shows interpolation after a three- or four-axis move that
// chip 1 has finished: reset it. The reset runs under the lock, so no other
// routine can slip between the check and the repair.
bool ChipLayer::SecondChipCheck(int card) {
  const std::uint32_t chip1 = Read16(ChipPort(card, 1, kCommand));
  const std::uint32_t chip2 = Read16(ChipPort(card, 2, kCommand));
  if ((chip1 & kInterpolating) == 0 && (chip2 & kInterpolating) != 0) {
    ResetChip2Locked(card);
    return true;
  }
  return false;
}

// Gives axis 3 or 4 its own drive parameters back after a multi-chip move
// borrowed them for axis 1's.
void ChipLayer::RestoreBorrowed(int card, int axis, bool writeBack) {
  CardState& state = Card(card);
  bool& mine = axis == 3 ? state.axis3Borrowed : state.axis4Borrowed;
  bool& other = axis == 3 ? state.axis4Borrowed : state.axis3Borrowed;
  if ((axis != 3 && axis != 4) || !mine) return;
  if (SecondChipCheck(card)) other = false;
  if (writeBack) {
    const AxisShadow& s = Axis(card, axis);
    const WORD bit = AxisBit(axis);
    ParamWrite(card, 2, bit + 0x02, s.acc, false);
    ParamWrite(card, 2, bit + 0x04, s.startv, false);
    ParamWrite(card, 2, bit + 0x05, s.speed, false);
  }
  mine = false;
}

int ChipLayer::pmove(int card, int axis, int pulses) {
  if (pulses == 0) return 0;
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  const WORD code = pulses > 0 ? 0x20 : 0x21;
  // The magnitude in unsigned arithmetic: INT_MIN has no positive int.
  const std::uint32_t count = pulses > 0 ? static_cast<std::uint32_t>(pulses) : 0u - static_cast<std::uint32_t>(pulses);
  RestoreBorrowed(card, axis, true);
  const int pair = PairOf(axis);
  const WORD bit = AxisBit(axis);
  ParamWrite(card, pair, bit + 0x00, Axis(card, axis).range, true);
  ParamWrite(card, pair, bit + 0x06, static_cast<std::int32_t>(count), true);
  Write16(ChipPort(card, pair, kCommand), bit + code);
  return 0;
}

int ChipLayer::continue_move(int card, int axis, int dir) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  RestoreBorrowed(card, axis, false);
  const int pair = PairOf(axis);
  const WORD bit = AxisBit(axis);
  ParamWrite(card, pair, bit + 0x00, Axis(card, axis).range, true);
  Write16(ChipPort(card, pair, kCommand), bit + (dir == 0 ? 0x22 : 0x23));
  return 0;
}

int ChipLayer::dec_stop(int card, int axis) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  Write16(ChipPort(card, PairOf(axis), kCommand), AxisBit(axis) + 0x26);
  return 0;
}

int ChipLayer::sudden_stop(int card, int axis) {
  if (!ValidCard(card) || !ValidAxis(axis)) return 1;
  std::lock_guard lock(lock_);
  const bool chip2Interpolating = (Read16(ChipPort(card, 2, kCommand)) & kInterpolating) != 0;
  Write16(ChipPort(card, PairOf(axis), kCommand), AxisBit(axis) + 0x27);
  if (axis >= 3 && chip2Interpolating) ResetChip2Locked(card);
  return 0;
}

// Interpolation mode and the second axis's range for a two-axis move on the
// pair's chip; on chip 2 the borrowed parameters are given up first.
void ChipLayer::PrepareSecondAxisRange(int card, int pair) {
  CardState& state = Card(card);
  if (pair == 2) {
    if (state.axis3Borrowed || state.axis4Borrowed) SecondChipCheck(card);
    state.axis3Borrowed = state.axis4Borrowed = false;
  }
  Write16(ChipPort(card, pair, kInterpolationMode), pair == 1 ? 0x0500 : 0x0D00);
  const int firstAxis = pair == 1 ? 1 : 3;
  ParamWrite(card, pair, 0x0200, ScaledRange(Axis(card, firstAxis).range, 1.414), true);
}

int ChipLayer::inp_move2(int card, int pair, int dx, int dy) {
  if (!ValidCard(card) || !ValidPair(pair)) return 1;
  if (!InInterpolationRange(dx) || !InInterpolationRange(dy)) return 1;
  if (dx == 0 && dy == 0) return 0;
  std::lock_guard lock(lock_);
  PrepareSecondAxisRange(card, pair);
  ParamWrite(card, pair, 0x0106, dx, true);
  ParamWrite(card, pair, 0x0206, dy, true);
  Write16(ChipPort(card, pair, kCommand), 0x0030);
  return 0;
}

int ChipLayer::Arc(int card, int pair, int endX, int endY, int centreX, int centreY, WORD command) {
  if (!ValidCard(card) || !ValidPair(pair)) return 1;
  for (int v : {endX, endY, centreX, centreY})
    if (!InInterpolationRange(v)) return 1;
  std::lock_guard lock(lock_);
  PrepareSecondAxisRange(card, pair);
  ParamWrite(card, pair, 0x0106, endX, true);
  ParamWrite(card, pair, 0x0206, endY, true);
  ParamWrite(card, pair, 0x0108, centreX, true);
  ParamWrite(card, pair, 0x0208, centreY, true);
  Write16(ChipPort(card, pair, kCommand), command);
  return 0;
}

int ChipLayer::inp_cw_arc(int card, int pair, int endX, int endY, int centreX, int centreY) {
  return Arc(card, pair, endX, endY, centreX, centreY, 0x0032);
}

int ChipLayer::inp_ccw_arc(int card, int pair, int endX, int endY, int centreX, int centreY) {
  return Arc(card, pair, endX, endY, centreX, centreY, 0x0033);
}

// Three and four axes: chip 1 drives x and y, chip 2 z (and u), every axis
// on axis 1's range and speeds; chip 2 is started before chip 1.
int ChipLayer::MultiChipMove(int card, int dx, int dy, int dz, std::optional<int> du) {
  if (!ValidCard(card)) return 1;
  const bool fourAxes = du.has_value();
  const int u = du.value_or(0);
  for (int v : {dx, dy, dz, u})
    if (!InInterpolationRange(v)) return 1;
  if (dx == 0 && dy == 0 && dz == 0 && u == 0) return 0;
  std::lock_guard lock(lock_);
  CardState& state = Card(card);
  state.axis3Borrowed = true;
  if (fourAxes) state.axis4Borrowed = true;
  SecondChipCheck(card);
  Write16(ChipPort(card, 1, kInterpolationMode), fourAxes ? 0x0400 : 0x0500);
  Write16(ChipPort(card, 2, kInterpolationMode), fourAxes ? 0x0800 : 0x0D00);
  const AxisShadow& a1 = Axis(card, 1);
  ParamWrite(card, 1, 0x0100, a1.range, true);
  // Three axes: the ranges of y and z scaled by the square roots of 2 and 3.
  if (!fourAxes) ParamWrite(card, 1, 0x0200, ScaledRange(a1.range, 1.414), true);
  ParamWrite(card, 1, 0x0102, a1.acc, false);
  ParamWrite(card, 1, 0x0104, a1.startv, false);
  ParamWrite(card, 1, 0x0105, a1.speed, false);
  ParamWrite(card, 2, 0x0100, fourAxes ? a1.range : ScaledRange(a1.range, 1.732), true);
  ParamWrite(card, 2, 0x0102, a1.acc, false);
  ParamWrite(card, 2, 0x0104, a1.speed, false);
  ParamWrite(card, 2, 0x0105, a1.speed, false);
  Write16(ChipPort(card, 1, kCommand), 0x003E);
  Write16(ChipPort(card, 2, kCommand), 0x003E);
  ParamWrite(card, 2, 0x0106, dz, true);
  if (fourAxes) ParamWrite(card, 2, 0x0206, u, true);
  ParamWrite(card, 1, 0x0106, dx, true);
  ParamWrite(card, 1, 0x0206, dy, true);
  Write16(ChipPort(card, 2, kCommand), 0x0030);
  Write16(ChipPort(card, 1, kCommand), 0x0030);
  return 0;
}

int ChipLayer::inp_move3(int card, int dx, int dy, int dz) { return MultiChipMove(card, dx, dy, dz, std::nullopt); }

int ChipLayer::inp_move4(int card, int dx, int dy, int dz, int du) { return MultiChipMove(card, dx, dy, dz, du); }

int ChipLayer::inp_dec_enable(int card, int pair) {
  if (!ValidCard(card) || !ValidPair(pair)) return 1;
  std::lock_guard lock(lock_);
  Write16(ChipPort(card, pair, kCommand), 0x003B);
  return 0;
}

int ChipLayer::inp_dec_disable(int card, int pair) {
  if (!ValidCard(card) || !ValidPair(pair)) return 1;
  std::lock_guard lock(lock_);
  Write16(ChipPort(card, pair, kCommand), 0x003C);
  return 0;
}

}  // namespace qm318
