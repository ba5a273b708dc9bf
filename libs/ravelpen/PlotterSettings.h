#pragma once
// The plotter library's machine settings for the life of the process: step
// length, work area, speeds, origin corner, shape radius, text parameters,
// the configuration byte, and the values read from the settings store.
#include <atomic>
#include <cstdint>

namespace ravelpen {

// Configuration byte bits.
constexpr std::uint8_t kConfigXZeroLevel = 0x01;
constexpr std::uint8_t kConfigYZeroLevel = 0x02;
constexpr std::uint8_t kConfigXDirection = 0x40;
constexpr std::uint8_t kConfigYDirection = 0x80;

struct RegistryValues {
  int backSpeed = 2000;
  int emptySpeed = 2000;
  int lineSpeed = 1000;
  int imageSizeMode = 1;
  double machineRx = 120.0;
  double machineRy = 100.0;
  double fixedWidth = 18.0;
  double fixedHeight = 10.0;
  double markPosX = 0.0;
  double markPosY = 0.0;
};

struct PlotterSettings {
  double stepLength = 4.0;  // micrometres per motor step
  double rangeX = 100.0;    // work area, mm
  double rangeY = 90.0;
  int lineSpeed = 1000;     // steps per 50000 ticks with the pen down
  int emptySpeed = 2000;    // pen up
  int backSpeed = 5000;     // homing
  int originCorner = 0;     // 0..4
  double shapeRadius = 10.0;
  double textHeight = 5.0;
  double textAngle = 0.0;
  double textWidthFactor = 1.0;
  std::uint8_t config = 0;
  RegistryValues registry;
};

// The one set of settings of the process.
PlotterSettings& Settings();

// Reads the ten values from "Software\BrontavelV20"; a value that is missing
// or unreadable takes its default. The work area and the three speeds follow,
// then each speed that would stall or divide by zero is replaced by its
// default (a stored 0 would give an endless step period).
void ReadRegistryValues();

// Speeds are step rates: s gives a period of 50000 / s ticks of 10 us, at
// least one tick.
int StepPeriodTicks(int speed);

}  // namespace ravelpen
