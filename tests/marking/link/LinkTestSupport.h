#pragma once
// Shared pieces of the link tests: a communications control that records what
// is written and lets the test play the board, one "UI thread" that runs the
// handlers of the windows posted to, in posting order, and the parameter
// record's defaults.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "marking/link/CommControl.h"
#include "marking/link/WireProtocol.h"
#include "platform/Messages.h"

// The parameter record's defaults as the controller sends them (option byte 0x18).
inline ParameterBlockInput DefaultParameterInput() {
  ParameterBlockInput in;
  in.rotaryOnY = true;
  in.threeAxisRotary = true;
  in.xRange = 120;
  in.yRange = 100;
  in.stepX = 4;
  in.stepY = 4;
  in.resetSpeed = 45;
  in.secondPenUpSpeed = 100;
  in.penDownSpeed = 25;
  in.auxiliarySpeed = 20;
  return in;
}

class FakeControl : public CommControl {
 public:
  void SetCommPort(int port) override { port_ = port; }
  int GetCommPort() const override { return port_; }
  bool GetPortOpen() const override { return open_; }
  bool SetPortOpen(bool open) override {
    if (open && refuseOpen_) return false;
    open_ = open;
    return true;
  }
  void SetSettings(const std::string& s) override { settings_ = s; }
  bool Output(const BYTE* data, std::size_t n) override {
    {
      std::lock_guard lock(mutex_);
      writes_.emplace_back(data, data + n);
    }
    cv_.notify_all();
    return true;
  }
  void SetReceiveHandler(ReceiveHandler h) override {
    std::lock_guard lock(mutex_);
    handler_ = std::move(h);
  }
  std::string LastError() const override { return "refused"; }

  // The board's side.
  void Receive(std::vector<BYTE> bytes) {
    ReceiveHandler h;
    {
      std::lock_guard lock(mutex_);
      h = handler_;
    }
    if (h) h(bytes.data(), bytes.size());
  }
  bool WaitWrites(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(60)) {
    std::unique_lock lock(mutex_);
    return cv_.wait_for(lock, timeout, [&] { return writes_.size() >= count; });
  }
  std::vector<std::vector<BYTE>> Writes() {
    std::lock_guard lock(mutex_);
    return writes_;
  }
  std::atomic<bool> refuseOpen_{false};
  std::string settings_;

 private:
  std::atomic<int> port_{0};
  std::atomic<bool> open_{false};
  std::mutex mutex_;
  std::condition_variable cv_;
  std::vector<std::vector<BYTE>> writes_;
  ReceiveHandler handler_;
};

class UiThread {
 public:
  class Window : public platform::MessageTarget {
   public:
    Window(UiThread& ui, std::function<void(const platform::Message&)> handler) : ui_(ui), handler_(std::move(handler)) {}
    ~Window() override { CloseHandles(); }
    bool Post(platform::Message m) override {
      ui_.Enqueue(this, std::move(m));
      return true;
    }
    void Dispatch(const platform::Message& m) {
      if (handler_) handler_(m);
    }
    void SetHandler(std::function<void(const platform::Message&)> h) { handler_ = std::move(h); }

   private:
    UiThread& ui_;
    std::function<void(const platform::Message&)> handler_;
  };

  UiThread() : thread_([this] { Run(); }) {}
  ~UiThread() { Stop(); }
  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    cv_.notify_all();
    if (thread_.joinable()) thread_.join();
  }
  // Runs fn on the UI thread and waits for it.
  void Invoke(std::function<void()> fn) {
    std::atomic<bool> done{false};
    {
      std::lock_guard lock(mutex_);
      calls_.push_back([&] {
        fn();
        done = true;
      });
    }
    cv_.notify_all();
    while (!done) std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  // Waits until the queue is empty and the last handler returned.
  void Idle(std::chrono::milliseconds settle = std::chrono::milliseconds(30)) {
    std::this_thread::sleep_for(settle);
    Invoke([] {});
  }

 private:
  void Enqueue(Window* w, platform::Message m) {
    {
      std::lock_guard lock(mutex_);
      calls_.push_back([w, m = std::move(m)] { w->Dispatch(m); });
    }
    cv_.notify_all();
  }
  void Run() {
    std::unique_lock lock(mutex_);
    while (true) {
      cv_.wait(lock, [&] { return stop_ || !calls_.empty(); });
      if (stop_) return;
      auto call = std::move(calls_.front());
      calls_.pop_front();
      lock.unlock();
      call();
      lock.lock();
    }
  }

  std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> calls_;
  bool stop_ = false;
  std::thread thread_;
};
