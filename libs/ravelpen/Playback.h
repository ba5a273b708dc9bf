#pragma once
// Plays a job's move list on a thread of its own: homes first, then steps
// each move with the pen down or up, settles the pen, and homes again at the
// end. The host polls the state and may ask for a stop, which is seen between
// moves.
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "libs/ravelpen/MoveList.h"

namespace ravelpen {

class Playback {
 public:
  ~Playback();

  // Homes and starts the thread on the current move list; 0 when a job runs,
  // homing fails or the thread cannot start (the list is dropped then).
  int Start();
  void RequestStop() { stop_ = true; }
  int State() const { return running_.load() ? 1 : 0; }
  // Waits for a finished job's thread (tests, unload).
  void Join();

  // One job's stepping, on the calling thread (the thread body).
  void Run(const std::vector<MoveNode>& nodes);

 private:
  std::mutex mutex_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> stop_{false};
};

Playback& Player();

}  // namespace ravelpen
