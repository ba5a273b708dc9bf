#pragma once
// One axis of a simulated pulse-generator chip: its registers and counters,
// the ramp of a running drive on the virtual clock, and the mechanics it moves
// (limit, home and index switches at positions of the carriage). Test peer of
// the motion card libraries, never linked into them.
#include <cstdint>
#include <optional>

namespace qm318::sim {

// Where the switches of an axis sit, in pulses of carriage position. The
// carriage starts at position 0 with the counters at 0.
struct AxisMechanics {
  std::optional<std::int64_t> limitPlus;   // active at and beyond this position
  std::optional<std::int64_t> limitMinus;  // active at and below this position
  std::optional<std::int64_t> homeLow, homeHigh;  // home sensor active inside [low, high]
  std::int64_t indexPeriod = 0;            // index pulse once per period (0: none)
  std::int64_t indexPhase = 0;             // position of a pulse
  std::int64_t indexWidth = 2;
  bool indexActiveHigh = true;             // encoder Z: high on the mark; the other sensors are active low
};

class SimulatedAxis {
 public:
  // Registers the library writes.
  std::uint32_t mode1 = 0, mode2 = 0, mode3 = 0;
  std::int32_t range = 8000000, acac = 0, acc = 0, dec = 0, startv = 0, speed = 0;
  std::int32_t pulseCount = 0, centre = 0, decPos = 0, comp1 = 0, comp2 = 0;
  std::int32_t logical = 0, actual = 0;

  AxisMechanics mechanics;
  std::int64_t position = 0;        // carriage, pulses
  std::uint16_t forcedInputs = 0;   // input register bits forced by a test
  std::uint16_t forcedMask = 0;

  std::uint64_t pulsesPlus = 0, pulsesMinus = 0;
  std::uint32_t endStatus = 0;      // high byte of status register 1: why the last drive ended

  void Reset();
  // Raw input register (bits 14/15 limits +/-, 0 home, 1 index).
  std::uint16_t InputRegister() const;
  // Status register 1 low byte while driving; register 2 (switch states).
  std::uint16_t Status1() const;
  std::uint16_t Status2() const;

  // Speed parameters in pulses per second (and per second squared).
  double Multiplier() const;
  double StartSpeed() const;
  double DriveSpeed() const;
  double Acceleration() const;
  double Deceleration() const;

  // End-status bit that stops travel in dir (+1/-1) now, or 0 when free.
  std::uint32_t BlockedBy(int dir) const;
  void Pulse(int dir);

  // Single-axis drive.
  bool Driving() const { return drive_ != Drive::kNone; }
  void StartFixed(std::int64_t nowNs, int dir, std::uint64_t count);
  void StartContinuous(std::int64_t nowNs, int dir);
  void DecelerateStop();
  void SuddenStop();
  void AdvanceTo(std::int64_t nowNs);
  double CurrentSpeed() const { return Driving() || inInterpolation ? v_ : 0; }
  double CurrentAcceleration() const;

  bool inInterpolation = false;  // set by the chip while an interpolation drives this axis
  double v_ = 0;                 // current pulse rate (also the interpolation's, for reads)
  int phase_ = 0;                // 0 idle, 1 accelerating, 2 constant, 3 decelerating

 private:
  enum class Drive { kNone, kFixed, kContinuous };
  void Start(std::int64_t nowNs, int dir, Drive kind, std::uint64_t count);
  void End(std::uint32_t why);

  Drive drive_ = Drive::kNone;
  int dir_ = 1;
  std::uint64_t remaining_ = 0;
  bool stopping_ = false;
  double nextNs_ = 0;
};

// Shared ramp step: the rate for the next pulse after one pulse at v.
double RampNext(double v, double target, double start, double acc, double dec, bool decelerate, int& phase);

}  // namespace qm318::sim
