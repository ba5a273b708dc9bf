#pragma once
// What a drawing backend made of a picture's pixels (a screen image), kept
// with the picture so an unchanged picture converts once rather than on every
// repaint, and freed with it. A copied or newly assigned picture starts
// without one; code that changes pixels in place calls Clear(). Safe to use
// from several threads drawing the same picture.
#include <memory>
#include <mutex>

namespace platform {

class PictureDrawCache {
 public:
  PictureDrawCache() = default;
  PictureDrawCache(const PictureDrawCache&) {}
  PictureDrawCache(PictureDrawCache&& other) noexcept { other.MoveTo(*this); }
  PictureDrawCache& operator=(const PictureDrawCache& other) {
    if (this != &other) Clear();
    return *this;
  }
  PictureDrawCache& operator=(PictureDrawCache&& other) noexcept {
    if (this != &other) other.MoveTo(*this);
    return *this;
  }
  ~PictureDrawCache() = default;

  // The entry the backend named by kind stored last; null when none, when
  // another kind's is held, or when cleared since. Kind is the address of
  // something the backend owns, so entries of different types never mix.
  std::shared_ptr<const void> Get(const void* kind) const {
    const std::lock_guard lock(mutex_);
    return kind_ == kind ? entry_ : nullptr;
  }
  void Store(const void* kind, std::shared_ptr<const void> entry) const {
    const std::lock_guard lock(mutex_);
    kind_ = entry ? kind : nullptr;
    entry_.swap(entry);
  }
  void Clear() const { Store(nullptr, nullptr); }

 private:
  void MoveTo(PictureDrawCache& target) {
    const void* kind = nullptr;
    std::shared_ptr<const void> entry;
    {
      const std::lock_guard lock(mutex_);
      kind = kind_;
      kind_ = nullptr;
      entry.swap(entry_);
    }
    target.Store(kind, std::move(entry));
  }

  mutable std::mutex mutex_;
  mutable const void* kind_ = nullptr;
  mutable std::shared_ptr<const void> entry_;
};

}  // namespace platform
