#include "platform/Messages.h"

namespace platform {

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
