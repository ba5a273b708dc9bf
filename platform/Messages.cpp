#include "platform/Messages.h"

namespace platform {

// Shared by a target and its handles. The mutex is held while a handle posts,
// so closing waits for that post; it is recursive because a handler called by
// the post may post through a handle of the same target again.
struct MessageTarget::Liveness {
  std::recursive_mutex mutex;
  MessageTarget* target = nullptr;
};

class MessageTarget::LiveHandle final : public MessageTarget {
 public:
  explicit LiveHandle(std::shared_ptr<Liveness> liveness) : liveness_(std::move(liveness)) {}
  bool Post(Message message) override {
    std::lock_guard lock(liveness_->mutex);
    return liveness_->target && liveness_->target->Post(std::move(message));
  }

 private:
  std::shared_ptr<Liveness> liveness_;
};

MessageTarget::MessageTarget() : liveness_(std::make_shared<Liveness>()) { liveness_->target = this; }

MessageTarget::~MessageTarget() { CloseHandles(); }

std::shared_ptr<MessageTarget> MessageTarget::Handle() const { return std::make_shared<LiveHandle>(liveness_); }

void MessageTarget::CloseHandles() {
  std::lock_guard lock(liveness_->mutex);
  liveness_->target = nullptr;
}

QueueMessageTarget::~QueueMessageTarget() { CloseHandles(); }

bool QueueMessageTarget::Post(Message message) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(message));
  }
  cv_.notify_one();
  return true;
}

std::optional<Message> QueueMessageTarget::TryTake() {
  std::lock_guard lock(mutex_);
  if (queue_.empty()) return std::nullopt;
  Message message = std::move(queue_.front());
  queue_.pop_front();
  return message;
}

std::optional<Message> QueueMessageTarget::WaitTake(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!cv_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return std::nullopt;
  Message message = std::move(queue_.front());
  queue_.pop_front();
  return message;
}

std::vector<Message> QueueMessageTarget::Drain() {
  std::lock_guard lock(mutex_);
  std::vector<Message> out(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
  queue_.clear();
  return out;
}

std::size_t QueueMessageTarget::Size() const {
  std::lock_guard lock(mutex_);
  return queue_.size();
}

}  // namespace platform
