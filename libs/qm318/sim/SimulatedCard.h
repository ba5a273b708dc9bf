#pragma once
// A simulated motion card: two pulse-generator chips in 0x20 ports above the
// card's I/O base, decoding the command words, mode and data registers the
// way the libraries drive them. Chip 2 keeps showing interpolation after a
// three- or four-axis move until it is reset, and refuses drives meanwhile,
// as the card does.
#include <array>
#include <cstdint>
#include <optional>

#include "libs/qm318/sim/SimulatedAxis.h"
#include "libs/qm318/sim/SimulatedInterpolation.h"

namespace qm318::sim {

class SimulatedCard {
 public:
  explicit SimulatedCard(std::uint16_t base) : base_(base) {}

  std::uint16_t Base() const { return base_; }
  bool Owns(std::uint16_t port) const { return port >= base_ && port < base_ + 0x20; }
  void Write(std::uint16_t port, std::uint16_t value, std::int64_t nowNs);
  std::uint16_t Read(std::uint16_t port);
  void AdvanceTo(std::int64_t nowNs);
  bool Idle() const;

  SimulatedAxis& Axis(int axis) { return chips_[(axis - 1) / 2].axes[(axis - 1) % 2]; }
  std::uint16_t Outputs(int chip) const { return chips_[chip - 1].outputs; }
  int Resets(int chip) const { return chips_[chip - 1].resets; }

 private:
  struct Chip {
    std::array<SimulatedAxis, 2> axes{};
    std::uint16_t selected = 0x0100;     // axis bits of the last command word
    std::uint16_t dataLow = 0, dataHigh = 0;
    std::uint16_t outputs = 0, interpolationMode = 0;
    int readCode = -1, readAxis = 0;     // what the data registers show
    bool stuck = false;                  // interpolation bit left on after a coupled move
    bool armed = false, waiting = false; // coupled move prepared / chip 2 waiting for chip 1
    bool interpolationDecel = false;
    int resets = 0;
  };

  void Command(int chipIndex, std::uint16_t word, std::int64_t nowNs);
  void AxisCommand(Chip& chip, int chipIndex, int axisIndex, int code, std::int64_t nowNs);
  void StartLine(int chipIndex, std::int64_t nowNs);
  void StartCoupled(std::int64_t nowNs);
  std::uint16_t Status0(int chipIndex) const;
  std::uint16_t DataRegister(const Chip& chip, bool high) const;
  bool ChipInterpolating(int chipIndex) const;

  std::uint16_t base_;
  std::array<Chip, 2> chips_{};
  // Slot 0: chip 1's interpolation or the coupled move; slot 1: chip 2's own.
  std::array<std::optional<SimulatedInterpolation>, 2> interpolation_{};
  bool coupled_ = false;
};

}  // namespace qm318::sim
