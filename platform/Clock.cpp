#include "platform/Clock.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "platform/ReplaceableInstance.h"

namespace platform {
namespace {

struct PumpState {
  std::mutex mutex;
  std::shared_ptr<const std::function<void()>> hook;
  std::int64_t intervalMicros = 10000;
  std::uint64_t generation = 0;  // bumped by every SetPumpHook
};

PumpState& Pump() {
  static PumpState state;
  return state;
}

// Each thread keeps its own pace: a worker's busy waits must not use up the
// user-interface thread's turns.
struct ThreadPumpPace {
  std::uint64_t generation = ~std::uint64_t{0};
  std::int64_t lastMicros = 0;
};
thread_local ThreadPumpPace t_pace;

// Runs the hook when its interval has passed since this thread last ran it,
// measured on the clock of the waiting caller (a simulated clock pumps in
// simulated time).
void PumpEventsAt(std::int64_t nowMicros) {
  PumpState& pump = Pump();
  std::shared_ptr<const std::function<void()>> hook;
  {
    std::lock_guard lock(pump.mutex);
    if (!pump.hook) return;
    // A time behind the last run comes from another clock: treat it as due.
    const bool due = t_pace.generation != pump.generation || nowMicros < t_pace.lastMicros ||
                     nowMicros - t_pace.lastMicros >= pump.intervalMicros;
    if (!due) return;
    t_pace.generation = pump.generation;
    t_pace.lastMicros = nowMicros;
    hook = pump.hook;
  }
  (*hook)();
}

ReplaceableInstance<Clock> g_clock;

}  // namespace

std::int64_t Clock::NowMicros() {
  const std::int64_t ticks = QueryCounter();
  const std::int64_t freq = CounterFrequency();
  if (freq <= 0) return 0;
  return (ticks / freq) * 1000000 + (ticks % freq) * 1000000 / freq;
}

std::tm Clock::LocalTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

std::int64_t SteadyClock::QueryCounter() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int64_t SteadyClock::CounterFrequency() { return 1000000000; }

void SteadyClock::BusyWaitMicros(double micros) {
  if (!(micros > 0)) return;  // also rejects NaN
  const auto start = std::chrono::steady_clock::now();
  const auto length = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
      std::chrono::duration<double, std::micro>(std::min(micros, 3.6e9)));
  const auto deadline = start + length;
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return;
    PumpEventsAt(std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch()).count());
  }
}

void SteadyClock::SleepMicros(double micros) {
  if (!(micros > 0)) return;
  std::this_thread::sleep_for(std::chrono::duration<double, std::micro>(std::min(micros, 3.6e9)));
}

std::int64_t SimulatedClock::QueryCounter() {
  std::lock_guard lock(mutex_);
  now_ += perRead_;
  return static_cast<std::int64_t>(std::floor(now_));
}

void SimulatedClock::SetAdvancePerRead(double micros) {
  std::lock_guard lock(mutex_);
  perRead_ = micros > 0 ? micros : 0;
}

std::int64_t SimulatedClock::CounterFrequency() { return 1000000; }

void SimulatedClock::BusyWaitMicros(double micros) {
  std::int64_t now = 0;
  {
    std::lock_guard lock(mutex_);
    waits_.push_back(micros);
    if (micros > 0) {
      now_ += micros;
      total_ += micros;
    }
    now = static_cast<std::int64_t>(std::floor(now_));
  }
  PumpEventsAt(now);
  RunWaitHook();
}

void SimulatedClock::SleepMicros(double micros) {
  Advance(micros);
  RunWaitHook();
}

void SimulatedClock::SetWaitHook(std::function<void()> hook) {
  std::lock_guard lock(mutex_);
  waitHook_ = hook ? std::make_shared<const std::function<void()>>(std::move(hook)) : nullptr;
}

void SimulatedClock::RunWaitHook() {
  std::shared_ptr<const std::function<void()>> hook;
  {
    std::lock_guard lock(mutex_);
    hook = waitHook_;
  }
  if (hook) (*hook)();
}

void SimulatedClock::Advance(double micros) {
  std::lock_guard lock(mutex_);
  if (micros > 0) now_ += micros;
}

std::vector<double> SimulatedClock::Waits() const {
  std::lock_guard lock(mutex_);
  return waits_;
}

void SimulatedClock::ClearWaits() {
  std::lock_guard lock(mutex_);
  waits_.clear();
  total_ = 0;
}

double SimulatedClock::TotalWaitedMicros() const {
  std::lock_guard lock(mutex_);
  return total_;
}

std::tm SimulatedClock::LocalTime() {
  {
    std::lock_guard lock(mutex_);
    if (haveLocal_) return local_;
  }
  return Clock::LocalTime();
}

void SimulatedClock::SetLocalTime(const std::tm& local) {
  std::lock_guard lock(mutex_);
  local_ = local;
  haveLocal_ = true;
}

Clock& CurrentClock() {
  return g_clock.Get([] { return std::make_shared<SteadyClock>(); });
}

void SetClock(std::shared_ptr<Clock> clock) {
  g_clock.Set(std::move(clock));
}

void SetPumpHook(std::function<void()> hook, std::chrono::microseconds minInterval) {
  PumpState& pump = Pump();
  std::lock_guard lock(pump.mutex);
  pump.hook = hook ? std::make_shared<const std::function<void()>>(std::move(hook)) : nullptr;
  pump.intervalMicros = std::max<std::int64_t>(0, minInterval.count());
  ++pump.generation;
}

void PumpEvents() { PumpEventsAt(CurrentClock().NowMicros()); }

}  // namespace platform
