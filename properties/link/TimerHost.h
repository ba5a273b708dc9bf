#pragma once
// Window timers for a headless window: SetTimer posts WM_TIMER (wParam = id)
// to the target once the period has passed, again every period, until
// KillTimer. The GUI may give the view its own host instead.
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Messages.h"

class ITimerHost {
 public:
  virtual ~ITimerHost() = default;
  virtual void SetTimer(platform::MessageTarget* target, WPARAM id, unsigned periodMs) = 0;
  virtual void KillTimer(WPARAM id) = 0;
};

class ThreadTimerHost : public ITimerHost {
 public:
  ~ThreadTimerHost() override;
  void SetTimer(platform::MessageTarget* target, WPARAM id, unsigned periodMs) override;
  void KillTimer(WPARAM id) override;

 private:
  struct Timer {
    std::mutex mutex;
    std::condition_variable cv;
    bool stop = false;
    std::thread thread;
  };
  std::mutex mutex_;
  std::map<WPARAM, std::unique_ptr<Timer>> timers_;
  std::vector<std::unique_ptr<Timer>> retired_;
};
