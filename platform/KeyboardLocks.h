#pragma once
// The keyboard's three lock keys (Caps Lock, Num Lock, Scroll Lock) as the
// platform reports them. A lock the platform cannot tell about (no keyboard
// indicators on this display, or no display at all) reads as unknown, so the
// status bar shows nothing rather than a state that may be false.
#include <memory>
#include <mutex>
#include <optional>

namespace platform {

struct LockStates {
  std::optional<bool> caps;
  std::optional<bool> num;
  std::optional<bool> scroll;
};

class KeyboardLocks {
 public:
  virtual ~KeyboardLocks() = default;
  virtual LockStates Read() = 0;
};

// Answers what the test set; all unknown at first.
class ScriptedKeyboardLocks : public KeyboardLocks {
 public:
  LockStates Read() override;
  void Set(const LockStates& states);

 private:
  mutable std::mutex mutex_;
  LockStates states_;
};

// The process-wide reader; one that knows nothing until the GUI installs its own.
KeyboardLocks& CurrentKeyboardLocks();
void SetKeyboardLocks(std::shared_ptr<KeyboardLocks> locks);

}  // namespace platform
