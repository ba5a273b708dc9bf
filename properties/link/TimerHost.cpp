#include "properties/link/TimerHost.h"

ThreadTimerHost::~ThreadTimerHost() {
  std::map<WPARAM, std::unique_ptr<Timer>> timers;
  {
    std::lock_guard lock(mutex_);
    timers.swap(timers_);
    for (auto& t : retired_) timers.emplace(WPARAM(-1) - timers.size(), std::move(t));
    retired_.clear();
  }
  for (auto& [id, timer] : timers) {
    {
      std::lock_guard lock(timer->mutex);
      timer->stop = true;
    }
    timer->cv.notify_all();
    if (timer->thread.joinable()) timer->thread.join();
  }
}

void ThreadTimerHost::SetTimer(platform::MessageTarget* target, WPARAM id, unsigned periodMs) {
  KillTimer(id);
  if (!target) return;
  auto timer = std::make_unique<Timer>();
  Timer* t = timer.get();
  // The timer thread keeps only the target's handle: a window that goes
  // before its timer is killed gets no more ticks.
  t->thread = std::thread([t, target = target->Handle(), id, periodMs] {
    std::unique_lock lock(t->mutex);
    while (!t->stop) {
      if (t->cv.wait_for(lock, std::chrono::milliseconds(periodMs), [t] { return t->stop; })) break;
      lock.unlock();
      target->PostMessage(WM_TIMER, id, 0);
      lock.lock();
    }
  });
  std::lock_guard lock(mutex_);
  timers_[id] = std::move(timer);
}

void ThreadTimerHost::KillTimer(WPARAM id) {
  std::unique_ptr<Timer> timer;
  {
    std::lock_guard lock(mutex_);
    auto it = timers_.find(id);
    if (it == timers_.end()) return;
    timer = std::move(it->second);
    timers_.erase(it);
  }
  {
    std::lock_guard lock(timer->mutex);
    timer->stop = true;
  }
  timer->cv.notify_all();
  // A handler called straight from the timer's own post kills it from that
  // thread: keep it until the host goes.
  if (timer->thread.get_id() == std::this_thread::get_id()) {
    std::lock_guard lock(mutex_);
    retired_.push_back(std::move(timer));
    return;
  }
  if (timer->thread.joinable()) timer->thread.join();
}
