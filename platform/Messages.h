#pragma once
// Window messages between the parts of the program: a message number (the
// system's own numbers above WM_USER), wParam, lParam and an optional owned
// payload. Posting never blocks; messages to one target keep their order.
//
// A target handed to another thread is handed as its Handle(): posting through
// the handle reaches the target while it lives and returns false once it is
// gone, and destroying the target waits for a post through a handle that is
// under way. A thread that keeps only handles can never post to a freed target,
// whatever order its owner destroys things in.
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
  MessageTarget();
  virtual ~MessageTarget();
  MessageTarget(const MessageTarget&) = delete;
  MessageTarget& operator=(const MessageTarget&) = delete;

  // Returns false when the target is gone.
  virtual bool Post(Message message) = 0;
  bool PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, std::shared_ptr<void> payload = {}) {
    return Post(Message{msg, wParam, lParam, std::move(payload)});
  }

  // The target to keep on another thread (see above). Any thread, while this
  // target lives.
  virtual std::shared_ptr<MessageTarget> Handle() const;

 protected:
  // Handles post nothing more once this returns. The base destructor calls it,
  // which is too late when Post uses members of a derived class: such a class
  // calls it first in its own destructor (the targets below do).
  void CloseHandles();

 private:
  struct Liveness;
  class LiveHandle;
  std::shared_ptr<Liveness> liveness_;
};

// A thread-safe queue: the test double, and the mailbox of headless workers.
class QueueMessageTarget final : public MessageTarget {
 public:
  QueueMessageTarget() = default;
  ~QueueMessageTarget() override;
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
class CallbackMessageTarget final : public MessageTarget {
 public:
  explicit CallbackMessageTarget(std::function<void(const Message&)> handler) : handler_(std::move(handler)) {}
  ~CallbackMessageTarget() override { CloseHandles(); }
  bool Post(Message message) override {
    handler_(message);
    return true;
  }

 private:
  std::function<void(const Message&)> handler_;
};

}  // namespace platform
