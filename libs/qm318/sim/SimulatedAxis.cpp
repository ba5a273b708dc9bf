#include "libs/qm318/sim/SimulatedAxis.h"

#include <algorithm>
#include <cmath>

namespace qm318::sim {
namespace {

// End-status bits (status register 1, high byte).
constexpr std::uint32_t kEndStop0 = 0x0100, kEndStop1 = 0x0200, kEndStop2 = 0x0400;
constexpr std::uint32_t kEndLimitPlus = 0x1000, kEndLimitMinus = 0x2000, kEndSoftLimit = 0x0800;

}  // namespace

double RampNext(double v, double target, double start, double acc, double dec, bool decelerate, int& phase) {
  // One pulse is one unit of travel: v^2 changes by 2a per pulse.
  if (decelerate) {
    phase = 3;
    return std::sqrt(std::max(start * start, v * v - 2 * dec));
  }
  if (v < target) {
    phase = 1;
    const double next = std::min(target, std::sqrt(v * v + 2 * acc));
    if (next >= target) phase = 2;
    return next;
  }
  phase = 2;
  return target;
}

void SimulatedAxis::Reset() {
  mode1 = mode2 = mode3 = 0;
  range = 8000000;
  acac = acc = dec = startv = speed = 0;
  pulseCount = centre = decPos = comp1 = comp2 = 0;
  drive_ = Drive::kNone;
  inInterpolation = false;
  v_ = 0;
  phase_ = 0;
  endStatus = 0;
}

std::uint16_t SimulatedAxis::InputRegister() const {
  const auto& m = mechanics;
  std::uint16_t reg = 0xFFFF;  // open inputs read high
  auto set = [&reg](int bit, bool high) { reg = high ? (reg | (1u << bit)) : (reg & ~(1u << bit)); };
  set(14, !(m.limitPlus && position >= *m.limitPlus));
  set(15, !(m.limitMinus && position <= *m.limitMinus));
  set(0, !(m.homeLow && m.homeHigh && position >= *m.homeLow && position <= *m.homeHigh));
  if (m.indexPeriod > 0) {
    std::int64_t offset = (position - m.indexPhase) % m.indexPeriod;
    if (offset < 0) offset += m.indexPeriod;
    const bool onMark = offset < m.indexWidth;
    set(1, onMark == m.indexActiveHigh);
  }
  return static_cast<std::uint16_t>((reg & ~forcedMask) | (forcedInputs & forcedMask));
}

std::uint16_t SimulatedAxis::Status1() const {
  std::uint16_t s = static_cast<std::uint16_t>(endStatus & 0xFF00);
  if (logical >= comp1) s |= 0x01;
  if (logical < comp2) s |= 0x02;
  if (Driving() || inInterpolation) s |= phase_ == 1 ? 0x04 : phase_ == 3 ? 0x10 : 0x08;
  return s;
}

std::uint16_t SimulatedAxis::Status2() const {
  std::uint16_t s = 0;
  if ((mode2 & 0x0001) && logical >= comp1) s |= 0x01;
  if ((mode2 & 0x0002) && logical < comp2) s |= 0x02;
  const std::uint16_t in = InputRegister();
  const int limitLevel = (mode2 & 0x0004) ? 1 : 0;
  if (((in >> 14) & 1) == limitLevel) s |= 0x04;
  if (((in >> 15) & 1) == limitLevel) s |= 0x08;
  return s;
}

// The chip's range field takes 16000 to 8000000.
double SimulatedAxis::Multiplier() const { return 8000000.0 / std::clamp(range, 16000, 8000000); }
double SimulatedAxis::StartSpeed() const { return std::max(startv, 1) * Multiplier(); }
double SimulatedAxis::DriveSpeed() const { return std::max(speed, 1) * Multiplier(); }
double SimulatedAxis::Acceleration() const { return std::max(acc, 1) * 125.0 * Multiplier(); }
double SimulatedAxis::Deceleration() const {
  // Mode 3 bit 1 gives the deceleration its own register.
  return (mode3 & 0x0002) ? std::max(dec, 1) * 125.0 * Multiplier() : Acceleration();
}

double SimulatedAxis::CurrentAcceleration() const {
  if (phase_ == 1) return Acceleration();
  if (phase_ == 3) return Deceleration();
  return 0;
}

std::uint32_t SimulatedAxis::BlockedBy(int dir) const {
  const std::uint16_t in = InputRegister();
  const int limitLevel = (mode2 & 0x0004) ? 1 : 0;
  if (dir > 0 && ((in >> 14) & 1) == limitLevel) return kEndLimitPlus;
  if (dir < 0 && ((in >> 15) & 1) == limitLevel) return kEndLimitMinus;
  if (dir > 0 && (mode2 & 0x0001) && logical >= comp1) return kEndSoftLimit;
  if (dir < 0 && (mode2 & 0x0002) && logical <= comp2) return kEndSoftLimit;
  // Stop inputs 0-2: enable bit and level bit in mode register 1.
  const std::uint32_t ends[3] = {kEndStop0, kEndStop1, kEndStop2};
  for (int n = 0; n < 3; ++n) {
    const bool enabled = (mode1 >> (2 * n + 1)) & 1;
    const int level = static_cast<int>((mode1 >> (2 * n)) & 1);
    if (enabled && static_cast<int>((in >> n) & 1) == level) return ends[n];
  }
  return 0;
}

void SimulatedAxis::Pulse(int dir) {
  logical += dir;
  actual += dir;
  position += dir;
  (dir > 0 ? pulsesPlus : pulsesMinus) += 1;
}

void SimulatedAxis::Start(std::int64_t nowNs, int dir, Drive kind, std::uint64_t count) {
  drive_ = kind;
  dir_ = dir;
  remaining_ = count;
  stopping_ = false;
  endStatus = 0;
  v_ = std::min(StartSpeed(), DriveSpeed());
  phase_ = v_ < DriveSpeed() ? 1 : 2;
  nextNs_ = static_cast<double>(nowNs);
  if (kind == Drive::kFixed && count == 0) End(0);
}

void SimulatedAxis::StartFixed(std::int64_t nowNs, int dir, std::uint64_t count) { Start(nowNs, dir, Drive::kFixed, count); }
void SimulatedAxis::StartContinuous(std::int64_t nowNs, int dir) { Start(nowNs, dir, Drive::kContinuous, 0); }

void SimulatedAxis::DecelerateStop() {
  if (!Driving()) return;
  stopping_ = true;
  if (v_ <= std::min(StartSpeed(), DriveSpeed())) End(0);
}

void SimulatedAxis::SuddenStop() {
  if (Driving()) End(0);
}

void SimulatedAxis::End(std::uint32_t why) {
  drive_ = Drive::kNone;
  endStatus = why;
  phase_ = 0;
  v_ = 0;
}

void SimulatedAxis::AdvanceTo(std::int64_t nowNs) {
  const double start = std::min(StartSpeed(), DriveSpeed());
  while (Driving() && nextNs_ <= static_cast<double>(nowNs)) {
    if (const std::uint32_t why = BlockedBy(dir_)) {
      End(why);
      return;
    }
    Pulse(dir_);
    if (drive_ == Drive::kFixed && --remaining_ == 0) {
      End(0);
      return;
    }
    const double dec = Deceleration();
    const bool decelerate =
        stopping_ || (drive_ == Drive::kFixed && static_cast<double>(remaining_) <= (v_ * v_ - start * start) / (2 * dec));
    v_ = RampNext(v_, DriveSpeed(), start, Acceleration(), dec, decelerate, phase_);
    if (stopping_ && v_ <= start) {
      End(0);
      return;
    }
    nextNs_ += 1e9 / v_;
  }
}

}  // namespace qm318::sim
