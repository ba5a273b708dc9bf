#pragma once
// Watches the machine's start button on the port boards: a thread polls the
// input port every 200 ms and posts WM_HARD_START to the layout view once per
// press, after the release. During marking a press asks for a stop instead.
// A press within five polls of the start or of an accepted press is ignored.
// A read that fails counts as "not pressed", so a missing board never starts
// a job.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "platform/Messages.h"

namespace platform {
class Clock;
}

class CStartButtonWatch {
 public:
  static constexpr std::chrono::milliseconds kPollPeriod{200};
  static constexpr int kIgnorePolls = 5;
  static constexpr std::uint32_t kButtonBit = 0x08;  // low while pressed

  CStartButtonWatch() = default;
  ~CStartButtonWatch();
  CStartButtonWatch(const CStartButtonWatch&) = delete;
  CStartButtonWatch& operator=(const CStartButtonWatch&) = delete;

  // Starts the thread (a running one is stopped first); false when it cannot
  // be created. clock: null for the process clock (the 1 us gaps between the
  // three reads of one poll).
  bool Start(platform::MessageTarget* view, platform::Clock* clock = nullptr,
             std::chrono::milliseconds period = kPollPeriod);
  // Clears the run flag and joins the thread; a press still held is dropped.
  void Stop();
  bool IsRunning() const { return thread_.joinable(); }
  // The AND of the last poll's three reads (0xFF before the first).
  std::uint8_t LastInput() const { return lastInput_.load(); }
  long Polls() const { return polls_.load(); }

 private:
  void Run();
  // False when the run flag was cleared during the wait.
  bool Wait();
  // False when a read failed; input is then untouched.
  bool ReadInput(std::uint8_t& input);

  platform::MessageTarget* view_ = nullptr;
  platform::Clock* clock_ = nullptr;
  std::chrono::milliseconds period_ = kPollPeriod;
  std::atomic<bool> run_{false};
  std::atomic<std::uint8_t> lastInput_{0xFF};
  std::atomic<long> polls_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};
