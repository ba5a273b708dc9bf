#include "libs/ravelpen/PlotterHead.h"

#include <cstdlib>
#include <string>

#include "libs/ravelpen/PlotterSettings.h"
#include "libs/ravelpen/PpdevPortSpace.h"
#include "platform/Clock.h"
#include "platform/Prompt.h"

namespace ravelpen {

PlotterHead& Head() {
  static PlotterHead head;
  return head;
}

bool PlotterHead::Open() {
  const char* backend = std::getenv("VENDRIK_PORT_BACKEND");
  if (!port_ && backend != nullptr && std::string(backend) == "ppdev") {
    const char* device = std::getenv("VENDRIK_PARPORT");
    port_ = std::make_shared<PpdevPortSpace>(device != nullptr ? device : "/dev/parport0");
  }
  return Port().Initialize();
}

void PlotterHead::Close() { Port().Shutdown(); }

void PlotterHead::SetPortSpace(std::shared_ptr<platform::PortSpace> space) { port_ = std::move(space); }

platform::PortSpace& PlotterHead::Port() { return port_ ? *port_ : platform::CurrentPortSpace(); }

void PlotterHead::MeasureTick() {
  const std::int64_t frequency = platform::CurrentClock().CounterFrequency();
  if (frequency <= 0) {
    platform::MessageBox("系统不支持高性能频率记数器");
    return;
  }
  tickCounts_ = static_cast<double>(frequency) * 10.0 / 1000000.0;
}

void PlotterHead::WriteShadow() { Port().Write(kDataPort, shadow_.load(), 1); }

std::uint8_t PlotterHead::ReadStatus() {
  DWORD value = 0;
  if (!Port().Read(kStatusPort, value, 1)) {
    // Remembered, so no caller takes a failed read for a sensor at zero.
    readFailed_ = true;
    return 0;
  }
  return static_cast<std::uint8_t>(value & 0xFF);
}

void PlotterHead::SetBits(std::uint8_t bits, bool on) {
  if (on)
    shadow_.fetch_or(bits);
  else
    shadow_.fetch_and(static_cast<std::uint8_t>(~bits));
}

void PlotterHead::WaitTicks(double ticks) {
  if (ticks > 0) platform::CurrentClock().BusyWaitMicros(ticks * 10.0);
}

void PlotterHead::SetDirection(Axis axis, bool positive) {
  const std::uint8_t config = Settings().config;
  if (axis == Axis::X) {
    const bool level = (config & kConfigXDirection) != 0;
    SetBits(kXDirection, positive ? level : !level);
  } else {
    const bool level = (config & kConfigYDirection) != 0;
    SetBits(kYDirection, positive ? !level : level);
  }
}

void PlotterHead::StepPulse(Axis axis, bool positive) {
  const std::uint8_t step = axis == Axis::X ? kXStep : kYStep;
  SetDirection(axis, positive);
  SetBits(step, false);
  WriteShadow();
  WaitTicks(2);
  SetBits(step, true);
  WriteShadow();
}

bool PlotterHead::XAtZero(std::uint8_t r0, std::uint8_t r1, std::uint8_t r2) const {
  const bool all = (r0 & kXZeroSensor) && (r1 & kXZeroSensor) && (r2 & kXZeroSensor);
  return all == ((Settings().config & kConfigXZeroLevel) != 0);
}

bool PlotterHead::YAtZero(std::uint8_t r0, std::uint8_t r1, std::uint8_t r2) const {
  const bool all = (r0 & kYZeroSensor) && (r1 & kYZeroSensor) && (r2 & kYZeroSensor);
  return all == ((Settings().config & kConfigYZeroLevel) != 0);
}

bool PlotterHead::Home() {
  const PlotterSettings& s = Settings();
  SetBits(kPenDown, false);
  WriteShadow();
  const int period = StepPeriodTicks(s.backSpeed);
  const long long limitX = static_cast<long long>(s.rangeX * 1000 / s.stepLength) + 500;
  const long long limitY = static_cast<long long>(s.rangeY * 1000 / s.stepLength) + 500;
  // Toward the zero corner: corner 0 (and 4) negative X, positive Y; 1
  // negative X, negative Y; 2 positive X, positive Y; 3 positive X, negative Y.
  const int corner = s.originCorner == 4 ? 0 : s.originCorner;
  const bool xPositive = corner == 2 || corner == 3;
  const bool yPositive = corner == 0 || corner == 2;
  SetDirection(Axis::X, xPositive);
  SetDirection(Axis::Y, yPositive);
  int counterX = 0;
  int counterY = 0;
  long long stepsX = 0;
  long long stepsY = 0;
  bool doneX = false;
  bool doneY = false;
  while (!doneX || !doneY) {
    WaitTicks(1);
    ++counterX;
    ++counterY;
    readFailed_ = false;
    const std::uint8_t r0 = ReadStatus();
    const std::uint8_t r1 = ReadStatus();
    const std::uint8_t r2 = ReadStatus();
    if (readFailed_) return false;
    if (!doneX) {
      if (XAtZero(r0, r1, r2)) {
        doneX = true;
      } else if (counterX >= period) {
        counterX = 0;
        StepPulse(Axis::X, xPositive);
        if (++stepsX >= limitX) return false;
      }
    }
    if (!doneY) {
      if (YAtZero(r0, r1, r2)) {
        doneY = true;
      } else if (counterY >= period) {
        counterY = 0;
        StepPulse(Axis::Y, yPositive);
        if (++stepsY >= limitY) return false;
      }
    }
  }
  return true;
}

void PlotterHead::Jog(Axis axis, bool away) {
  const int corner = Settings().originCorner;
  // Where the zero sensor lies: X at negative X for corners 0, 1 and 4, Y at
  // negative Y for corners 1 and 3.
  const bool sensorNegative =
      axis == Axis::X ? (corner == 0 || corner == 1 || corner == 4) : (corner == 1 || corner == 3);
  const bool positive = away ? sensorNegative : !sensorNegative;
  const std::uint8_t step = axis == Axis::X ? kXStep : kYStep;
  SetDirection(axis, positive);
  WriteShadow();
  platform::CurrentClock().BusyWaitMicros(300);
  for (int i = 0; i < 1000; ++i) {
    if (!away) {
      readFailed_ = false;
      const std::uint8_t r0 = ReadStatus();
      const std::uint8_t r1 = ReadStatus();
      const std::uint8_t r2 = ReadStatus();
      if (readFailed_) return;  // never step blindly toward a sensor we cannot see
      const bool atZero = axis == Axis::X ? XAtZero(r0, r1, r2) : YAtZero(r0, r1, r2);
      if (atZero) {
        platform::MessageBox(axis == Axis::X ? "X已经到位" : "Y已经到位");
        return;
      }
    }
    SetBits(step, false);
    WriteShadow();
    platform::CurrentClock().BusyWaitMicros(300);
    SetBits(step, true);
    WriteShadow();
    platform::CurrentClock().BusyWaitMicros(300);
  }
}

void PlotterHead::RotateZ(long steps, long speed) {
  SetBits(kZDirection, steps >= 0);
  WriteShadow();
  if (speed < 1) speed = 1;
  if (speed > 999) speed = 1000;
  const long count = steps < 0 ? -(steps + 1) + 1 : steps;  // |steps| without overflow for LONG_MIN
  for (long i = 0; i < count; ++i) {
    SetBits(kZStep, false);
    WriteShadow();
    platform::CurrentClock().BusyWaitMicros(speed * 10.0);
    SetBits(kZStep, true);
    WriteShadow();
    platform::CurrentClock().BusyWaitMicros(speed * 10.0);
  }
}

}  // namespace ravelpen
