#pragma once
// A waitable event with manual or automatic reset, as the link's requests and
// the workers wait on them.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace platform {

class Event {
 public:
  explicit Event(bool manualReset = true, bool initiallySet = false);
  void Set();
  void Reset();
  bool IsSet() const;
  // true when the event was set within the time; an auto-reset event is
  // cleared by the wait that sees it.
  bool Wait(std::chrono::milliseconds timeout);
  void Wait();

 private:
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool manual_;
  bool set_;
};

// Waits on two events; returns 0 when the first is set, 1 for the second, -1 on
// time-out. Polls at a short interval (the events are not shared objects).
int WaitForEither(Event& a, Event& b, std::chrono::milliseconds timeout);

class Clock;

// The same with the time-out on a clock: -1 once the clock reads
// deadlineMicros (NowMicros). On a simulated clock the wait ends when the
// time is advanced that far.
int WaitForEitherUntil(Event& a, Event& b, Clock& clock, std::int64_t deadlineMicros);

}  // namespace platform
