#include "libs/qm318/sim/SimulatedCard.h"

#include <cmath>

namespace qm318::sim {
namespace {

std::int32_t Wide(std::uint16_t low, std::uint16_t high) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(high) << 16) | low);
}

}  // namespace

bool SimulatedCard::ChipInterpolating(int chipIndex) const {
  if (interpolation_[static_cast<std::size_t>(chipIndex)] && interpolation_[static_cast<std::size_t>(chipIndex)]->Running()) return true;
  return chipIndex == 1 && coupled_ && interpolation_[0] && interpolation_[0]->Running();
}

std::uint16_t SimulatedCard::Status0(int chipIndex) const {
  const Chip& chip = chips_[static_cast<std::size_t>(chipIndex)];
  std::uint16_t s = 0;
  if (chip.axes[0].Driving() || chip.axes[0].inInterpolation) s |= 0x0001;
  if (chip.axes[1].Driving() || chip.axes[1].inInterpolation) s |= 0x0002;
  if (ChipInterpolating(chipIndex)) s |= 0x0300;
  if (chip.stuck) s |= 0x0100;
  return s;
}

std::uint16_t SimulatedCard::DataRegister(const Chip& chip, bool high) const {
  std::int64_t value = high ? chip.dataHigh : chip.dataLow;
  if (chip.readCode >= 0) {
    const SimulatedAxis& a = chip.axes[static_cast<std::size_t>(chip.readAxis)];
    // Position reads follow the live counter, so a carry can fall between the halves.
    switch (chip.readCode) {
      case 0x10: value = a.logical; break;
      case 0x11: value = a.actual; break;
      case 0x12: value = std::lround(a.CurrentSpeed() / a.Multiplier()); break;
      case 0x13: value = std::lround(a.CurrentAcceleration() / (125.0 * a.Multiplier())); break;
      default: break;
    }
    const auto bits = static_cast<std::uint32_t>(value);
    return static_cast<std::uint16_t>(high ? bits >> 16 : bits & 0xFFFF);
  }
  return static_cast<std::uint16_t>(value);
}

std::uint16_t SimulatedCard::Read(std::uint16_t port) {
  const int offset = port - base_;
  const int chipIndex = offset / 0x10;
  const Chip& chip = chips_[static_cast<std::size_t>(chipIndex)];
  const int selected = (chip.selected & 0x0100) ? 0 : 1;
  switch (offset % 0x10) {
    case 0x0: return Status0(chipIndex);
    case 0x2: return chip.axes[static_cast<std::size_t>(selected)].Status1();
    case 0x4: return chip.axes[static_cast<std::size_t>(selected)].Status2();
    case 0x8: return chip.axes[0].InputRegister();
    case 0xA: return chip.axes[1].InputRegister();
    case 0xC: return DataRegister(chip, false);
    case 0xE: return DataRegister(chip, true);
    default: return 0;
  }
}

void SimulatedCard::Write(std::uint16_t port, std::uint16_t value, std::int64_t nowNs) {
  const int offset = port - base_;
  const int chipIndex = offset / 0x10;
  Chip& chip = chips_[static_cast<std::size_t>(chipIndex)];
  auto forSelected = [&chip](auto&& f) {
    if (chip.selected & 0x0100) f(chip.axes[0]);
    if (chip.selected & 0x0200) f(chip.axes[1]);
  };
  switch (offset % 0x10) {
    case 0x0: Command(chipIndex, value, nowNs); break;
    case 0x2: forSelected([value](SimulatedAxis& a) { a.mode1 = value; }); break;
    case 0x4: forSelected([value](SimulatedAxis& a) { a.mode2 = value; }); break;
    case 0x6: forSelected([value](SimulatedAxis& a) { a.mode3 = value; }); break;
    case 0x8: chip.outputs = value; break;
    case 0xA: chip.interpolationMode = value; break;
    case 0xC: chip.dataLow = value; chip.readCode = -1; break;
    case 0xE: chip.dataHigh = value; chip.readCode = -1; break;
    default: break;
  }
}

void SimulatedCard::Command(int chipIndex, std::uint16_t word, std::int64_t nowNs) {
  Chip& chip = chips_[static_cast<std::size_t>(chipIndex)];
  if (word == 0x8000) {
    for (SimulatedAxis& a : chip.axes) a.Reset();
    interpolation_[static_cast<std::size_t>(chipIndex)].reset();
    if (chipIndex == 0 && coupled_) interpolation_[0].reset();
    chip.stuck = chip.armed = chip.waiting = chip.interpolationDecel = false;
    chip.outputs = chip.interpolationMode = 0;
    chip.readCode = -1;
    chip.resets++;
    return;
  }
  const std::uint16_t axes = word & 0x0300;
  const int code = word & 0xFF;
  if (axes != 0) {
    chip.selected = axes;
    for (int i = 0; i < 2; ++i)
      if (axes & (0x0100 << i)) AxisCommand(chip, chipIndex, i, code, nowNs);
    return;
  }
  switch (code) {
    case 0x30:
      if (chip.stuck) return;  // refuses drives until reset
      if (chip.armed && chipIndex == 1) chip.waiting = true;
      else if (chip.armed && chipIndex == 0 && chips_[1].waiting) StartCoupled(nowNs);
      else StartLine(chipIndex, nowNs);
      break;
    case 0x32:
    case 0x33: {
      if (chip.stuck) return;
      SimulatedAxis& x = chip.axes[0];
      SimulatedAxis& y = chip.axes[1];
      interpolation_[static_cast<std::size_t>(chipIndex)] =
          SimulatedInterpolation::Arc(nowNs, x, x, y, x.pulseCount, y.pulseCount, x.centre, y.centre, code == 0x32);
      break;
    }
    case 0x3B: chip.interpolationDecel = true; break;
    case 0x3C: chip.interpolationDecel = false; break;
    case 0x3E: chip.armed = true; break;
    default: break;
  }
}

void SimulatedCard::AxisCommand(Chip& chip, int chipIndex, int axisIndex, int code, std::int64_t nowNs) {
  SimulatedAxis& a = chip.axes[static_cast<std::size_t>(axisIndex)];
  const std::int32_t wide = Wide(chip.dataLow, chip.dataHigh);
  const std::int32_t narrow = chip.dataLow;
  auto stopInterpolation = [&](bool decelerate) {
    for (auto& slot : interpolation_)
      if (slot && slot->Drives(&a)) slot->Stop(decelerate);
  };
  switch (code) {
    case 0x00: a.range = wide; break;
    case 0x01: a.acac = narrow; break;
    case 0x02: a.acc = narrow; break;
    case 0x03: a.dec = narrow; break;
    case 0x04: a.startv = narrow; break;
    case 0x05: a.speed = narrow; break;
    case 0x06: a.pulseCount = wide; break;
    case 0x07: a.decPos = wide; break;
    case 0x08: a.centre = wide; break;
    case 0x09: a.logical = wide; break;
    case 0x0A: a.actual = wide; break;
    case 0x0B: a.comp1 = wide; break;
    case 0x0C: a.comp2 = wide; break;
    case 0x10: case 0x11: case 0x12: case 0x13:
      chip.readCode = code;
      chip.readAxis = axisIndex;
      break;
    case 0x20: case 0x21:
      if (chip.stuck || a.inInterpolation) return;
      a.StartFixed(nowNs, code == 0x20 ? 1 : -1, static_cast<std::uint32_t>(a.pulseCount));
      break;
    case 0x22: case 0x23:
      if (chip.stuck || a.inInterpolation) return;
      a.StartContinuous(nowNs, code == 0x22 ? 1 : -1);
      break;
    case 0x26: a.DecelerateStop(); stopInterpolation(true); break;
    case 0x27: a.SuddenStop(); stopInterpolation(false); break;
    default: (void)chipIndex; break;
  }
}

void SimulatedCard::StartLine(int chipIndex, std::int64_t nowNs) {
  Chip& chip = chips_[static_cast<std::size_t>(chipIndex)];
  interpolation_[static_cast<std::size_t>(chipIndex)] = SimulatedInterpolation::Line(
      nowNs, chip.axes[0], {{&chip.axes[0], chip.axes[0].pulseCount}, {&chip.axes[1], chip.axes[1].pulseCount}});
}

// The coupled move runs on chip 1's clock with axis 1's ramp; chip 2 takes
// axis 4 in only in the four-axis mode.
void SimulatedCard::StartCoupled(std::int64_t nowNs) {
  Chip& c1 = chips_[0];
  Chip& c2 = chips_[1];
  std::vector<SimulatedInterpolation::Leg> legs = {{&c1.axes[0], c1.axes[0].pulseCount},
                                                   {&c1.axes[1], c1.axes[1].pulseCount},
                                                   {&c2.axes[0], c2.axes[0].pulseCount}};
  if (c2.interpolationMode == 0x0800) legs.push_back({&c2.axes[1], c2.axes[1].pulseCount});
  interpolation_[0] = SimulatedInterpolation::Line(nowNs, c1.axes[0], std::move(legs));
  coupled_ = true;
  c1.armed = c2.armed = c2.waiting = false;
  c2.stuck = true;
}

void SimulatedCard::AdvanceTo(std::int64_t nowNs) {
  for (Chip& chip : chips_)
    for (SimulatedAxis& a : chip.axes) a.AdvanceTo(nowNs);
  for (auto& slot : interpolation_)
    if (slot && slot->Running()) slot->AdvanceTo(nowNs);
  if (coupled_ && !(interpolation_[0] && interpolation_[0]->Running())) coupled_ = false;
}

bool SimulatedCard::Idle() const {
  for (const Chip& chip : chips_)
    for (const SimulatedAxis& a : chip.axes)
      if (a.Driving() || a.inInterpolation) return false;
  return true;
}

}  // namespace qm318::sim
