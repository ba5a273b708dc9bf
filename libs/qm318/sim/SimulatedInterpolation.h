#pragma once
// An interpolated drive of a simulated card: a straight line over two to four
// axes (one chip, or both chips coupled) or a circular arc on one chip, run
// pulse by pulse on the virtual clock with the ramp of its main axis.
#include <cstdint>
#include <vector>

#include "libs/qm318/sim/SimulatedAxis.h"

namespace qm318::sim {

class SimulatedInterpolation {
 public:
  struct Leg {
    SimulatedAxis* axis;
    std::int64_t delta;
  };
  static SimulatedInterpolation Line(std::int64_t nowNs, SimulatedAxis& main, std::vector<Leg> legs);
  // Centre and end relative to the start; clockwise when cw.
  static SimulatedInterpolation Arc(std::int64_t nowNs, SimulatedAxis& main, SimulatedAxis& x, SimulatedAxis& y,
                                    std::int64_t endX, std::int64_t endY, std::int64_t centreX, std::int64_t centreY,
                                    bool cw);

  bool Running() const { return running_; }
  bool Drives(const SimulatedAxis* axis) const;
  void AdvanceTo(std::int64_t nowNs);
  void Stop(bool decelerate);

 private:
  SimulatedInterpolation() = default;
  void End();
  bool LineStep();
  bool ArcStep();
  void Pulse(SimulatedAxis* axis, int dir);

  bool running_ = false;
  bool arc_ = false;
  bool stopping_ = false;
  SimulatedAxis* main_ = nullptr;
  double v_ = 0, nextNs_ = 0;
  // Line: Bresenham over the longest leg.
  std::vector<Leg> legs_;
  std::vector<std::int64_t> error_;
  std::uint64_t steps_ = 0, done_ = 0;
  // Arc: position and end relative to the centre.
  SimulatedAxis* ax_ = nullptr;
  SimulatedAxis* ay_ = nullptr;
  std::int64_t px_ = 0, py_ = 0, ex_ = 0, ey_ = 0;
  double r2_ = 0;
  bool cw_ = false, leftEnd_ = false;
  std::uint64_t maxSteps_ = 0;
};

}  // namespace qm318::sim
