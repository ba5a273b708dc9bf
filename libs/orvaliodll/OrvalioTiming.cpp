// Delays and the processor speed estimate.
#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif
#include <chrono>

#include "libs/orvaliodll/Orvaliodll.h"
#include "platform/Clock.h"

namespace {

constexpr std::uint32_t kMaxSpeed = 20000;
constexpr std::int64_t kMaxTenNanoCount = 500000000;

// The processor's time-stamp counter; nanoseconds where there is none.
std::uint64_t TimeStamp() {
#if defined(__x86_64__) || defined(__i386__)
  return __rdtsc();
#else
  return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
#endif
}

}  // namespace

extern "C" {

int Delay_HardWareUS(std::uint32_t count) { return CH365DelayUS(count / 4); }

int Delay_US(std::int64_t count) {
  platform::Clock& clock = platform::CurrentClock();
  const std::int64_t frequency = clock.CounterFrequency();
  if (frequency <= 0) return 0;
  // One count is half a microsecond.
  const std::int64_t target = clock.QueryCounter() + count * frequency / 2000000;
  while (clock.QueryCounter() < target) {
  }
  return 1;
}

int Delay_10NS(std::int64_t count, std::uint32_t speed) {
  if (speed > kMaxSpeed || count > kMaxTenNanoCount) return 0;
  if (count <= 0) return 1;
  const std::uint64_t start = TimeStamp();
  const std::uint64_t ticks = static_cast<std::uint64_t>(count) * speed / 100;
  while (TimeStamp() - start < ticks) {
  }
  return 1;
}

std::uint32_t Get_Cpu_Speed() {
  const std::uint64_t t0 = TimeStamp();
  const std::uint64_t t1 = TimeStamp();
  const std::uint64_t t2 = TimeStamp();
  Delay_US(100000);
  const std::uint64_t t3 = TimeStamp();
  const auto ticks = static_cast<std::uint32_t>((t3 - t2 - (t1 - t0)) / 10000);
  return ticks * 10 / 100;
}

}  // extern "C"
