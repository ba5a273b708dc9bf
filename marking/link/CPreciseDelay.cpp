#include "marking/link/CPreciseDelay.h"

#include <algorithm>

#include "platform/Clock.h"

CPreciseDelay::CPreciseDelay(platform::Clock* clock) : clock_(clock) {
  // The cost of one counter read is the least of a few: a thread taken off
  // its core between two reads would otherwise count the whole pause as
  // overhead and shorten every elapsed time after it.
  platform::Clock& c = ClockRef();
  std::int64_t least = -1;
  for (int n = 0; n < 8; ++n) {
    const std::int64_t a = c.QueryCounter();
    const std::int64_t b = c.QueryCounter();
    if (least < 0 || b - a < least) least = b - a;
  }
  overhead_ = std::max<std::int64_t>(least, 0);
}

platform::Clock& CPreciseDelay::ClockRef() const { return clock_ ? *clock_ : platform::CurrentClock(); }

int CPreciseDelay::Calibrate() {
  // The platform counter states its own rate, so no second of sleeping is
  // needed to learn it.
  const std::int64_t perSecond = ClockRef().CounterFrequency();
  ticksPer10us_ = static_cast<int>(std::clamp<std::int64_t>(perSecond / 100000, 1, 999999));
  return ticksPer10us_;
}

void CPreciseDelay::Wait(std::int64_t periodNs) {
  if (ticksPer10us_ <= 10) Calibrate();
  platform::Clock& c = ClockRef();
  start_ = c.QueryCounter();
  elapsedTicks_ = 0;
  elapsedNs_ = 0;
  if (periodNs <= 0) return;
  c.BusyWaitMicros(static_cast<double>(periodNs) / 1000.0);
  elapsedTicks_ = std::max<std::int64_t>(c.QueryCounter() - overhead_ - start_, 0);
  elapsedNs_ = elapsedTicks_ * 10000 / ticksPer10us_;
}
