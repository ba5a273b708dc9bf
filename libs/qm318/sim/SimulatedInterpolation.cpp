#include "libs/qm318/sim/SimulatedInterpolation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qm318::sim {
namespace {

int Sign(std::int64_t v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

}  // namespace

SimulatedInterpolation SimulatedInterpolation::Line(std::int64_t nowNs, SimulatedAxis& main, std::vector<Leg> legs) {
  SimulatedInterpolation s;
  s.main_ = &main;
  s.legs_ = std::move(legs);
  for (const Leg& leg : s.legs_) s.steps_ = std::max<std::uint64_t>(s.steps_, static_cast<std::uint64_t>(std::llabs(leg.delta)));
  // Start each error term at half a step so the pulses of a short leg sit in the middle.
  s.error_.assign(s.legs_.size(), static_cast<std::int64_t>(s.steps_ / 2));
  s.running_ = s.steps_ > 0;
  s.v_ = std::min(main.StartSpeed(), main.DriveSpeed());
  s.nextNs_ = static_cast<double>(nowNs);
  for (Leg& leg : s.legs_) {
    leg.axis->inInterpolation = s.running_;
    leg.axis->endStatus = 0;
  }
  return s;
}

SimulatedInterpolation SimulatedInterpolation::Arc(std::int64_t nowNs, SimulatedAxis& main, SimulatedAxis& x,
                                                   SimulatedAxis& y, std::int64_t endX, std::int64_t endY,
                                                   std::int64_t centreX, std::int64_t centreY, bool cw) {
  SimulatedInterpolation s;
  s.arc_ = true;
  s.main_ = &main;
  s.ax_ = &x;
  s.ay_ = &y;
  s.px_ = -centreX;
  s.py_ = -centreY;
  s.ex_ = endX - centreX;
  s.ey_ = endY - centreY;
  s.r2_ = static_cast<double>(centreX) * centreX + static_cast<double>(centreY) * centreY;
  s.cw_ = cw;
  s.maxSteps_ = static_cast<std::uint64_t>(8 * (std::sqrt(s.r2_) + 2));
  s.running_ = s.r2_ > 0;
  s.v_ = std::min(main.StartSpeed(), main.DriveSpeed());
  s.nextNs_ = static_cast<double>(nowNs);
  x.inInterpolation = y.inInterpolation = s.running_;
  x.endStatus = y.endStatus = 0;
  return s;
}

bool SimulatedInterpolation::Drives(const SimulatedAxis* axis) const {
  if (!running_) return false;
  if (arc_) return axis == ax_ || axis == ay_;
  return std::any_of(legs_.begin(), legs_.end(), [axis](const Leg& l) { return l.axis == axis; });
}

void SimulatedInterpolation::End() {
  running_ = false;
  auto clear = [](SimulatedAxis* a) {
    a->inInterpolation = false;
    a->v_ = 0;
    a->phase_ = 0;
  };
  if (arc_) {
    clear(ax_);
    clear(ay_);
  } else {
    for (Leg& leg : legs_) clear(leg.axis);
  }
}

void SimulatedInterpolation::Stop(bool decelerate) {
  if (!running_) return;
  if (decelerate && v_ > std::min(main_->StartSpeed(), main_->DriveSpeed())) stopping_ = true;
  else End();
}

void SimulatedInterpolation::Pulse(SimulatedAxis* axis, int dir) { axis->Pulse(dir); }

// One step of the line; false when a switch stopped it.
bool SimulatedInterpolation::LineStep() {
  std::vector<int> dirs(legs_.size(), 0);
  for (std::size_t i = 0; i < legs_.size(); ++i) {
    const auto len = static_cast<std::int64_t>(std::llabs(legs_[i].delta));
    if (error_[i] + len >= static_cast<std::int64_t>(steps_)) dirs[i] = Sign(legs_[i].delta);
  }
  for (std::size_t i = 0; i < legs_.size(); ++i) {
    if (dirs[i] == 0) continue;
    if (const std::uint32_t why = legs_[i].axis->BlockedBy(dirs[i])) {
      legs_[i].axis->endStatus = why;
      return false;
    }
  }
  for (std::size_t i = 0; i < legs_.size(); ++i) {
    error_[i] += std::llabs(legs_[i].delta);
    if (dirs[i] != 0) {
      error_[i] -= static_cast<std::int64_t>(steps_);
      Pulse(legs_[i].axis, dirs[i]);
    }
  }
  return true;
}

// One step along the circle, or the closing step to the end point.
bool SimulatedInterpolation::ArcStep() {
  const std::int64_t tx = cw_ ? py_ : -py_;
  const std::int64_t ty = cw_ ? -px_ : px_;
  int mx = Sign(tx), my = Sign(ty);
  const bool nearEnd = std::max(std::llabs(px_ - ex_), std::llabs(py_ - ey_)) <= 1;
  if (!nearEnd) leftEnd_ = true;
  const bool closing = leftEnd_ && nearEnd;
  if (closing) {
    mx = Sign(ex_ - px_);
    my = Sign(ey_ - py_);
  } else {
    // Of the steps along the tangent, the one that stays closest to the circle.
    double best = -1;
    int bx = 0, by = 0;
    const int cand[3][2] = {{mx, 0}, {0, my}, {mx, my}};
    for (const auto& c : cand) {
      if (c[0] == 0 && c[1] == 0) continue;
      const double nx = static_cast<double>(px_ + c[0]), ny = static_cast<double>(py_ + c[1]);
      const double err = std::fabs(nx * nx + ny * ny - r2_);
      if (best < 0 || err < best) {
        best = err;
        bx = c[0];
        by = c[1];
      }
    }
    mx = bx;
    my = by;
  }
  if (mx != 0)
    if (const std::uint32_t why = ax_->BlockedBy(mx)) return ax_->endStatus = why, false;
  if (my != 0)
    if (const std::uint32_t why = ay_->BlockedBy(my)) return ay_->endStatus = why, false;
  if (mx != 0) Pulse(ax_, mx);
  if (my != 0) Pulse(ay_, my);
  px_ += mx;
  py_ += my;
  ++done_;
  if (closing && px_ == ex_ && py_ == ey_) return false;
  return done_ < maxSteps_;
}

void SimulatedInterpolation::AdvanceTo(std::int64_t nowNs) {
  const double start = std::min(main_->StartSpeed(), main_->DriveSpeed());
  while (running_ && nextNs_ <= static_cast<double>(nowNs)) {
    if (!arc_) {
      if (!LineStep()) return End();
      if (++done_ == steps_) return End();
    } else if (!ArcStep()) {
      return End();
    }
    const double dec = main_->Deceleration();
    const double remaining = arc_ ? 1e18 : static_cast<double>(steps_ - done_);
    const bool decelerate = stopping_ || remaining <= (v_ * v_ - start * start) / (2 * dec);
    v_ = RampNext(v_, main_->DriveSpeed(), start, main_->Acceleration(), dec, decelerate, main_->phase_);
    main_->v_ = v_;
    if (stopping_ && v_ <= start) return End();
    nextNs_ += 1e9 / v_;
  }
}

}  // namespace qm318::sim
