#include "values/MachineSetRecord.h"

#include <cstring>

MachineSetRecord DefaultMachineSetRecord() {
  MachineSetRecord r;
  std::memset(&r, 0, sizeof r);
  r.normalDelay = 50;
  r.startDelay = 100;
  r.penDownSpeed = 25;
  r.penUpSpeed = 32;
  r.resetSpeed = 45;
  r.stepX = 4;
  r.microstepExponent = 6;
  r.transmissionConstant = 30;
  r.motorDiameter = 10;
  r.stepY = 4.0;
  r.auxiliarySpeed = 20;
  r.dotTime = 50;
  r.maxSpeed = 100;
  r.acceleration = 500;
  return r;
}

void ApplyMachineSetLoadClamps(MachineSetRecord& r) {
  // Written as "not inside" so that a NaN read from a damaged file is
  // replaced as well.
  if (!(r.stepX >= 0.5f && r.stepX <= 200.0f)) r.stepX = 4;
  if (static_cast<std::uint32_t>(r.microstepExponent) > 8) r.microstepExponent = 6;
  if (r.originCorner < 0 || r.originCorner > 3) r.originCorner = 0;
  if (!(r.stepY >= 0.5 && r.stepY <= 200.0)) r.stepY = 4.0;
  if (!(r.maxSpeed >= r.penUpSpeed)) r.maxSpeed = r.penUpSpeed;
  if (r.acceleration < 1) r.acceleration = 500;
  if (r.laserValue < 0) r.laserValue = 0;
}
