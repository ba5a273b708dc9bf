#include "properties/pages/PlacementSteps.h"

#include <algorithm>

namespace {
constexpr double kRadiusStep = 2;
constexpr double kAngleStep = 5;
constexpr double kFullTurn = 360;

template <class Angle>
bool StepArcAngleOf(Angle& angle, int delta) {
  const Angle before = angle;
  if (delta < 0) {
    if (angle < kFullTurn) angle += static_cast<Angle>(kAngleStep);
    if (angle > kFullTurn) angle = static_cast<Angle>(kFullTurn);
  } else if (angle >= kAngleStep) {
    angle -= static_cast<Angle>(kAngleStep);
  }
  if (angle < 0) angle = 0;
  return angle != before;
}
}  // namespace

bool StepArcAngle(float& angle, int delta) { return StepArcAngleOf(angle, delta); }

bool StepArcAngle(double& angle, int delta) { return StepArcAngleOf(angle, delta); }

bool StepRadius(double& radius, int delta) {
  const double before = radius;
  radius = delta < 0 ? radius + kRadiusStep : (radius >= kRadiusStep ? radius - kRadiusStep : 0);
  return radius != before;
}

bool StepOffsetAngle(double& angle, int delta) {
  const double before = angle;
  angle = delta < 0 ? std::min(angle + kAngleStep, kFullTurn) : (angle >= kAngleStep ? angle - kAngleStep : 0);
  return angle != before;
}
