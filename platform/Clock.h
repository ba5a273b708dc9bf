#pragma once
// Monotonic time and calibrated busy waits, in place of the performance
// counter. Busy waits keep the user interface alive through a pump hook that
// is called no more often than its interval.
#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Counter ticks and their frequency (ticks per second).
  virtual std::int64_t QueryCounter() = 0;
  virtual std::int64_t CounterFrequency() = 0;
  std::int64_t NowMicros();
  // Waits until micros have passed on this clock, calling the pump hook
  // between checks (rate-limited).
  virtual void BusyWaitMicros(double micros) = 0;
  // Waits until micros have passed on this clock without holding the
  // processor (a poll between checks of something another thread does).
  virtual void SleepMicros(double micros) = 0;
  // The local date and time of day (what date texts show); the system's.
  virtual std::tm LocalTime();
};

// std::chrono::steady_clock, nanosecond ticks.
class SteadyClock : public Clock {
 public:
  std::int64_t QueryCounter() override;
  std::int64_t CounterFrequency() override;
  void BusyWaitMicros(double micros) override;
  void SleepMicros(double micros) override;
};

// Time moves only when someone waits or advances it: the test double. Every
// busy wait is recorded; sleeps only move the time. A wait hook, when set,
// runs on the waiting thread after each wait or sleep, so a test can act at
// the moment the code under test waits (answer, cancel, advance further).
class SimulatedClock : public Clock {
 public:
  std::int64_t QueryCounter() override;  // microsecond ticks
  std::int64_t CounterFrequency() override;
  void BusyWaitMicros(double micros) override;
  void SleepMicros(double micros) override;
  void Advance(double micros);
  void SetWaitHook(std::function<void()> hook);
  // Every read of the counter moves the time on by micros first, as the
  // reads of a polling loop take time (0, the default: reads take none).
  void SetAdvancePerRead(double micros);
  std::vector<double> Waits() const;
  void ClearWaits();
  double TotalWaitedMicros() const;
  // The system's local time until a fixed one is set.
  std::tm LocalTime() override;
  void SetLocalTime(const std::tm& local);

 private:
  void RunWaitHook();

  mutable std::mutex mutex_;
  std::shared_ptr<const std::function<void()>> waitHook_;
  bool haveLocal_ = false;
  std::tm local_{};
  double now_ = 0;
  double perRead_ = 0;
  double total_ = 0;
  std::vector<double> waits_;
};

Clock& CurrentClock();
void SetClock(std::shared_ptr<Clock> clock);

// The pump hook (the UI installs one that processes pending events). Busy
// waits call PumpEvents(), which runs the hook at most once per interval.
void SetPumpHook(std::function<void()> hook, std::chrono::microseconds minInterval = std::chrono::milliseconds(10));
void PumpEvents();

}  // namespace platform
