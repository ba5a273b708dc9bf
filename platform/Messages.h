#pragma once
// Window messages between the parts of the program: a message number (the
// system's own numbers above WM_USER), wParam, lParam and an optional owned
// payload. Posting never blocks; messages to one target keep their order.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/WinTypes.h"

namespace platform {

struct Message {
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::shared_ptr<void> payload;  // owned data travelling with the message
};

class MessageTarget {
 public:
  virtual ~MessageTarget() = default;
  // Returns false when the target is gone.
  virtual bool Post(Message message) = 0;
  bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, std::shared_ptr<void> payload = {}) {
    return Post(Message{msg, wParam, lParam, std::move(payload)});
  }
};

// A thread-safe queue: the test double, and the mailbox of headless workers.
class QueueMessageTarget : public MessageTarget {
 public:
  bool Post(Message message) override;
  std::optional<Message> TryTake();
  std::optional<Message> WaitTake(std::chrono::milliseconds timeout);
  std::vector<Message> Drain();
  std::size_t Size() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<Message> queue_;
};

// Calls a handler directly on the posting thread: for targets that dispatch
// themselves.
class CallbackMessageTarget : public MessageTarget {
 public:
  explicit CallbackMessageTarget(std::function<void(const Message&)> handler) : handler_(std::move(handler)) {}
  bool Post(Message message) override {
    handler_(message);
    return true;
  }

 private:
  std::function<void(const Message&)> handler_;
};

}  // namespace platform
