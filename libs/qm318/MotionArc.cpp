// Arcs through three points, driven as chains of short two-axis lines.
#include <algorithm>
#include <cmath>

#include "libs/qm318/MotionLayer.h"

namespace qm318 {
namespace {

constexpr int kCard = 0;
constexpr double kDegreesPerRadian = 57.29577791868204;
constexpr double kRadiansPerDegree = 0.017453293005625408;  // single-precision pi / 180
constexpr float kEndRadiansPerDegree = 0.017453292f;
constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;

void Call(QM318_CALLBACK callback) {
  if (callback) callback();
}

}  // namespace

int circle_from_points(const float* points, ArcCircle* circle) {
  const double x1 = points[0], y1 = points[1], x2 = points[2], y2 = points[3], x3 = points[4], y3 = points[5];
  double cx, cy, radius, start, end, turn;
  if (std::fabs(x1 - x3) < 0.001 && std::fabs(y1 - y3) < 0.001) {
    cx = (x2 + x1) * 0.5;
    cy = (y2 + y1) * 0.5;
    if (std::fabs(x1 - x2) < 0.0001 && std::fabs(y1 - y2) < 0.0001) return 0;
    radius = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1)) * 0.5;
    start = std::atan2(y1 - cy, x1 - cx) * kDegreesPerRadian;
    if (std::fabs(start) < 0.0001) start += 360;
    end = start + 360;
    turn = kTwoPi;
  } else {
    const double a = y2 - y3, b = x1 - x2, c = x2 - x3, d = y1 - y2;
    const double e1 = 2 * (b * a - d * c), e2 = 2 * (d * c - b * a);
    if (std::fabs(e1) < 0.0001 || std::fabs(e2) < 0.0001) return 0;
    const double k1 = x1 * x1 + y1 * y1 - x2 * x2 - y2 * y2;
    const double k2 = x2 * x2 + y2 * y2 - x3 * x3 - y3 * y3;
    cx = (k1 * a - k2 * d) / e1;
    cy = (k1 * c - k2 * b) / e2;
    radius = std::sqrt((x2 - cx) * (x2 - cx) + (y2 - cy) * (y2 - cy));
    start = std::atan2(y1 - cy, x1 - cx) * kDegreesPerRadian;
    if (start < 0) start += 360;
    end = std::atan2(y3 - cy, x3 - cx) * kDegreesPerRadian;
    if (end < 0) end += 360;
    turn = std::atan2(y1 - y2, x1 - x2) - std::atan2(y2 - y3, x2 - x3);
    if (turn < 0) turn += kTwoPi;
  }
  // Points of infinite or undefined size give no circle either.
  for (double v : {cx, cy, radius, start, end})
    if (!std::isfinite(v)) return 0;
  *circle = {static_cast<float>(cx),    static_cast<float>(cy),     static_cast<float>(start),
             static_cast<float>(end),   static_cast<float>(radius), static_cast<float>(turn)};
  return 1;
}

ArcPlan PlanArc(const ArcCircle& circle, float k) {
  ArcPlan plan;
  plan.theta = static_cast<float>(circle.start_angle * kRadiansPerDegree);
  double chord = 0.1;
  if (k * 0.1 < 3.0) chord = 3.0 / k;
  const double length = std::fabs(circle.end_angle - circle.start_angle) * circle.radius * kRadiansPerDegree;
  double step = chord / circle.radius;
  if (!(circle.end_angle > circle.start_angle)) step = -step;
  double count = std::trunc(length / chord);
  if ((circle.turn <= kPi && circle.end_angle >= circle.start_angle) ||
      (circle.turn > kPi && circle.end_angle <= circle.start_angle)) {
    step = -step;
    count = std::trunc((circle.radius * kTwoPi - length) / chord);
  }
  // Nearly collinear points give huge circles: keep the chord count bounded
  // by lengthening the chords, which on such a radius stay on the circle.
  if (count > kMaxChords) {
    step *= count / kMaxChords;
    count = kMaxChords;
  }
  plan.delta = static_cast<float>(step);
  plan.count = count > 0 ? static_cast<int>(count) : 0;
  return plan;
}

// One chord to (x, y): 1 when it ended normally (the next one may follow), 0
// on stop requests of both axes, -2 outside the soft limits, -3 after a limit.
int MotionLayer::Chord(int axisA, int axisB, float x, float y, bool last, QM318_CALLBACK callback) {
  std::vector<int> pulses;
  if (!Targets({axisA, axisB}, {x, y}, true, pulses)) return -2;
  const bool aFirst = axisA < axisB;
  const int pair = std::min(axisA, axisB) == 1 ? 1 : 2;
  if (chip_.inp_move2(kCard, pair, aFirst ? pulses[0] : pulses[1], aFirst ? pulses[1] : pulses[0]) != 0) return -2;
  bool limitMark = false, stopMark = false;
  const std::vector<int> axes = {axisA, axisB};
  for (;;) {
    if (!limitMark && !stopMark &&
        (read_limit_input(axisA, pulses[0] <= 0) || read_limit_input(axisB, pulses[1] <= 0)))
      limitMark = true;
    int running = 0;
    chip_.get_inp_status(kCard, pair, &running);
    if (running == 0) {
      if (!limitMark && !stopMark &&
          (read_limit_input(axisA, pulses[0] <= 0) || read_limit_input(axisB, pulses[1] <= 0)))
        limitMark = true;
      if (limitMark) return -3;
      if (stopMark || StoppedWhenStanding(axes)) return 0;
      return 1;
    }
    if (!last) {
      if (AllStopped(axes)) {
        stopMark = true;
        limitMark = false;
      }
      Call(callback);
    } else {
      Call(callback);
      if (AllStopped(axes)) return 0;
    }
  }
}

int MotionLayer::work_arc(int axisA, int axisB, const float* points, int speedSelect, QM318_CALLBACK callback) {
  const int low = std::min(axisA, axisB), high = std::max(axisA, axisB);
  if (!((low == 1 && high == 2) || (low == 3 && high == 4))) return -5;
  if (!Enabled(axisA) || !Enabled(axisB)) return -1;
  ArcCircle circle{};
  if (!points || circle_from_points(points, &circle) == 0) return -4;
  clear_stop_flag(axisA);
  clear_stop_flag(axisB);
  SpeedSet(low, speedSelect);

  const ArcPlan plan = PlanArc(circle, std::min(PulsesPerUnit(axisA), PulsesPerUnit(axisB)));
  float theta = plan.theta;
  const float delta = plan.delta;
  const int chords = plan.count;

  auto pointAt = [&circle](float angle, float& x, float& y) {
    x = circle.centre_x + circle.radius * std::cos(angle);
    y = circle.centre_y + circle.radius * std::sin(angle);
  };
  float x, y;
  pointAt(theta, x, y);
  if (const int r = Chord(axisA, axisB, x, y, false, callback); r != 1) return r;
  for (int n = 0; n < chords; ++n) {
    theta += delta;
    pointAt(theta, x, y);
    if (const int r = Chord(axisA, axisB, x, y, false, callback); r != 1) return r;
  }
  pointAt(circle.end_angle * kEndRadiansPerDegree, x, y);
  return Chord(axisA, axisB, x, y, true, callback);
}

}  // namespace qm318
