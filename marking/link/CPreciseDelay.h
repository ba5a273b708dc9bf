#pragma once
// Waits of a number of nanoseconds for the port boards' step timing. The wait
// spins on the platform clock and keeps the window messages moving (the
// clock's busy wait calls the pump hook), so stop keys reach the status word.
#include <cstdint>

namespace platform {
class Clock;
}

class CPreciseDelay {
 public:
  // clock: null for the process clock.
  explicit CPreciseDelay(platform::Clock* clock = nullptr);
  virtual ~CPreciseDelay() = default;

  // Counter ticks per 10 microseconds (the controller keeps it as CpuSpeed10).
  int Calibrate();
  void Wait(std::int64_t periodNs);

  std::int64_t Overhead() const { return overhead_; }
  int TicksPer10us() const { return ticksPer10us_; }
  void SetTicksPer10us(int ticks) { ticksPer10us_ = ticks; }
  std::int64_t ElapsedTicks() const { return elapsedTicks_; }
  std::int64_t ElapsedNs() const { return elapsedNs_; }

 private:
  platform::Clock& ClockRef() const;

  platform::Clock* clock_;
  std::int64_t overhead_ = 0;
  int ticksPer10us_ = 0;
  std::int64_t start_ = 0;
  std::int64_t elapsedTicks_ = 0;
  std::int64_t elapsedNs_ = 0;
};
