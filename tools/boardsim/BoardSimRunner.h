#pragma once
// Serves a BoardSimulator on a pseudo-terminal: one thread reads what the host
// writes, one writes the board's replies. With pacing, bytes take the time
// they take on a 19200 baud line (10 bits a byte) in both directions.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/serial/PtyPair.h"
#include "tools/boardsim/BoardSimulator.h"

namespace boardsim {

class BoardSimRunner {
 public:
  static constexpr double kByteMicros = 10.0 * 1e6 / 19200.0;

  explicit BoardSimRunner(BoardSimulator& board);
  ~BoardSimRunner();
  // Opens the pair (and the link name when given) and starts serving.
  bool Start(const std::string& linkPath = {}, bool pace = false);
  void Stop();
  const std::string& DevicePath() const { return pty_.DevicePath(); }
  const std::string& LastError() const { return pty_.LastError(); }

 private:
  using Clock = std::chrono::steady_clock;
  void ReadLoop();
  void WriteLoop();
  void Queue(const Bytes& bytes, int delayMs);
  void SendNow(const Bytes& bytes);

  BoardSimulator& board_;
  platform::serial::PtyPair pty_;
  bool pace_ = false;
  std::atomic<bool> running_{false};
  std::thread reader_;
  std::thread writer_;
  std::mutex mutex_;
  std::condition_variable cv_;
  struct Pending {
    Clock::time_point due;
    Bytes bytes;
  };
  std::deque<Pending> out_;
  int wakePipe_[2] = {-1, -1};
  std::mutex lineMutex_;  // the line towards the host
  Clock::time_point lineFreeOut_{};
};

}  // namespace boardsim
