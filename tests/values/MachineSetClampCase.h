#pragma once
// Out-of-range settings and what the load clamps make of them; the record's
// own test and the settings file's test run the same case.
#include <gtest/gtest.h>

#include <cmath>

#include "values/MachineSetRecord.h"

// A value outside its range in every clamped field (a NaN for stepY, as a
// damaged file may hold), and a top speed below the pen-up speed.
inline void PutOutOfRangeValues(MachineSetRecord& r) {
  r.originCorner = 7;
  r.stepX = 0.2f;
  r.stepY = std::nan("");
  r.acceleration = 0;
  r.maxSpeed = 20;
  r.penUpSpeed = 32;
  r.microstepExponent = -1;
  r.laserValue = -5;
}

inline void ExpectOutOfRangeValuesClamped(const MachineSetRecord& r) {
  EXPECT_EQ(r.originCorner, 0);
  EXPECT_EQ(r.stepX, 4.0f);
  EXPECT_EQ(r.stepY, 4.0);
  EXPECT_EQ(r.acceleration, 500);
  EXPECT_EQ(r.maxSpeed, 32.0);
  EXPECT_EQ(r.microstepExponent, 6);
  EXPECT_EQ(r.laserValue, 0);
}
