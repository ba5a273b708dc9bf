#pragma once
// Waiting in a test for what another thread or process does: the condition
// is polled until it holds, within a bound far beyond what the event needs
// even on a loaded machine in a sanitizer build. A test never sleeps a fixed
// time and then asserts; a wait that must not happen early runs on the
// replaceable clock instead.
#include <chrono>
#include <thread>

inline constexpr std::chrono::seconds kEventBound{60};

// True as soon as done() holds; false when it still does not after the bound.
template <class Condition>
bool WaitUntil(Condition done, std::chrono::milliseconds bound = kEventBound) {
  const auto end = std::chrono::steady_clock::now() + bound;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return done();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}
