#pragma once
// The lock keys read from the X server's keyboard indicators (XKB), over the
// connection the Qt application already holds. On any other display (the
// offscreen platform of the tests, Wayland without X) every lock is unknown.
#include "platform/KeyboardLocks.h"

namespace platform_qt {

class XkbKeyboardLocks : public platform::KeyboardLocks {
 public:
  platform::LockStates Read() override;
};

}  // namespace platform_qt
