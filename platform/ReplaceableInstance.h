#pragma once
// The process-wide backend behind a platform service (clock, prompt, port
// space, settings store, file dialog): made on first use, replaceable by the
// application or a test. A replaced backend is kept alive, since callers may
// still hold the reference an earlier Get() handed out.
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace platform {

template <class T>
class ReplaceableInstance {
 public:
  // The current backend; makeDefault() supplies one when none is set yet.
  template <class MakeDefault>
  T& Get(MakeDefault&& makeDefault) {
    std::lock_guard lock(mutex_);
    if (!current_) current_ = makeDefault();
    return *current_;
  }

  void Set(std::shared_ptr<T> next) {
    std::lock_guard lock(mutex_);
    if (current_) retired_.push_back(std::move(current_));
    current_ = std::move(next);
  }

 private:
  std::mutex mutex_;
  std::shared_ptr<T> current_;
  std::vector<std::shared_ptr<T>> retired_;
};

}  // namespace platform
