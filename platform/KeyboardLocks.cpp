#include "platform/KeyboardLocks.h"

#include <utility>

#include "platform/ReplaceableInstance.h"

namespace platform {

LockStates ScriptedKeyboardLocks::Read() {
  std::lock_guard<std::mutex> lock(mutex_);
  return states_;
}

void ScriptedKeyboardLocks::Set(const LockStates& states) {
  std::lock_guard<std::mutex> lock(mutex_);
  states_ = states;
}

namespace {

ReplaceableInstance<KeyboardLocks> g_locks;

}  // namespace

KeyboardLocks& CurrentKeyboardLocks() {
  return g_locks.Get([] { return std::make_shared<ScriptedKeyboardLocks>(); });
}

void SetKeyboardLocks(std::shared_ptr<KeyboardLocks> locks) { g_locks.Set(std::move(locks)); }

}  // namespace platform
