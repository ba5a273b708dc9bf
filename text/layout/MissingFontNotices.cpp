#include "text/layout/MissingFontNotices.h"

#include "platform/ReplaceableInstance.h"

namespace {

platform::ReplaceableInstance<MissingFontNotices>& Instance() {
  static platform::ReplaceableInstance<MissingFontNotices> instance;
  return instance;
}

}  // namespace

void MissingFontNotices::Note(const std::vector<std::string>& names) {
  std::function<void()> listener;
  {
    std::lock_guard lock(mutex_);
    bool added = false;
    for (const std::string& name : names) {
      if (known_.insert(name).second) {
        pending_.push_back(name);
        added = true;
      }
    }
    if (added) listener = listener_;
  }
  if (listener) listener();
}

std::vector<std::string> MissingFontNotices::TakeNew() {
  std::lock_guard lock(mutex_);
  std::vector<std::string> taken;
  taken.swap(pending_);
  return taken;
}

void MissingFontNotices::SetListener(std::function<void()> listener) {
  std::lock_guard lock(mutex_);
  listener_ = std::move(listener);
}

MissingFontNotices& FontNotices() {
  return Instance().Get([] { return std::make_shared<MissingFontNotices>(); });
}

void SetFontNotices(std::shared_ptr<MissingFontNotices> notices) { Instance().Set(std::move(notices)); }
