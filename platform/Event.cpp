#include "platform/Event.h"

#include <algorithm>

#include "platform/Clock.h"

namespace platform {

Event::Event(bool manualReset, bool initiallySet) : manual_(manualReset), set_(initiallySet) {}

void Event::Set() {
  {
    std::lock_guard lock(mutex_);
    set_ = true;
  }
  if (manual_) cv_.notify_all();
  else cv_.notify_one();
}

void Event::Reset() {
  std::lock_guard lock(mutex_);
  set_ = false;
}

bool Event::IsSet() const {
  std::lock_guard lock(mutex_);
  return set_;
}

bool Event::Wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!cv_.wait_for(lock, std::max(timeout, std::chrono::milliseconds(0)), [this] { return set_; })) return false;
  if (!manual_) set_ = false;
  return true;
}

void Event::Wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return set_; });
  if (!manual_) set_ = false;
}

int WaitForEither(Event& a, Event& b, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (a.Wait(std::chrono::milliseconds(0))) return 0;
    if (b.Wait(std::chrono::milliseconds(0))) return 1;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return -1;
    // Sleep briefly on the first event so a set is seen at once.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    if (a.Wait(std::min(left, std::chrono::milliseconds(1)))) return 0;
  }
}

int WaitForEitherUntil(Event& a, Event& b, Clock& clock, std::int64_t deadlineMicros) {
  for (;;) {
    if (a.Wait(std::chrono::milliseconds(0))) return 0;
    if (b.Wait(std::chrono::milliseconds(0))) return 1;
    if (clock.NowMicros() >= deadlineMicros) return -1;
    if (a.Wait(std::chrono::milliseconds(1))) return 0;
  }
}

}  // namespace platform
