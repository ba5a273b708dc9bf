#pragma once
// The marking head on the parallel port: the data register carries the step,
// direction and pen bits (written whole from a shadow byte), the status
// register the zero sensors and the key. Timing is counted in ticks of 10 us
// on the platform clock.
#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/PortIo.h"

namespace ravelpen {

constexpr WORD kDataPort = 888;    // 0x378
constexpr WORD kStatusPort = 889;  // 0x379

// Output bits.
constexpr std::uint8_t kYStep = 0x01;
constexpr std::uint8_t kYDirection = 0x02;
constexpr std::uint8_t kXStep = 0x04;
constexpr std::uint8_t kXDirection = 0x08;
constexpr std::uint8_t kZStep = 0x10;
constexpr std::uint8_t kZDirection = 0x20;
constexpr std::uint8_t kPenDown = 0x80;
// Status bits.
constexpr std::uint8_t kXZeroSensor = 0x20;
constexpr std::uint8_t kYZeroSensor = 0x80;
constexpr std::uint8_t kKeyInput = 0x08;

enum class Axis { X, Y };

class PlotterHead {
 public:
  // The port backend: $VENDRIK_PORT_BACKEND=ppdev drives a real parallel port
  // through the kernel's ppdev ($VENDRIK_PARPORT, default /dev/parport0);
  // otherwise the platform's port space (simulated unless configured).
  bool Open();
  void Close();
  // Tests and hosts may put their own port space in place.
  void SetPortSpace(std::shared_ptr<platform::PortSpace> space);

  // Counts per 10 us from the clock's frequency; without a counter the
  // operator is told and the tick stays as it was.
  void MeasureTick();

  void WriteShadow();
  // The status byte; a failed read gives 0 and sets ReadFailed().
  std::uint8_t ReadStatus();
  bool ReadFailed() const { return readFailed_; }
  void ClearReadFailed() { readFailed_ = false; }
  void SetBits(std::uint8_t bits, bool on);
  std::uint8_t Shadow() const { return shadow_.load(); }

  void WaitTicks(double ticks);
  // Direction bit as required, step bit low, 2 ticks, step bit high.
  void StepPulse(Axis axis, bool positive);
  // Sets the axis's direction bit for a move toward positive or negative.
  void SetDirection(Axis axis, bool positive);

  // Sensor rules over three status reads.
  bool XAtZero(std::uint8_t r0, std::uint8_t r1, std::uint8_t r2) const;
  bool YAtZero(std::uint8_t r0, std::uint8_t r1, std::uint8_t r2) const;

  // Drives both axes to the zero corner of the origin; false when an axis
  // needs more steps than the work area holds.
  bool Home();

  // Jog of `MoveX`/`MoveY`: up to 1000 steps away from or toward the axis's
  // zero sensor, stopping at the sensor.
  void Jog(Axis axis, bool away);
  void RotateZ(long steps, long speed);

 private:
  platform::PortSpace& Port();

  std::shared_ptr<platform::PortSpace> port_;
  std::atomic<std::uint8_t> shadow_{0};
  double tickCounts_ = 0.0;
  bool readFailed_ = false;
};

PlotterHead& Head();

}  // namespace ravelpen
