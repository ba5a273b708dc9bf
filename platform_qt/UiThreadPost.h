#pragma once
// Carries a call from any thread to the user-interface thread (the thread of
// the application object), behind the messages and events already posted
// there. Used instead of Qt's queued calls from workers: what a queued call
// captures reaches the other thread through futexes the race checker cannot
// see, while this carrier tells it of the hand-over.
#include <functional>

namespace platform_qt {

// False, and the call is never run, when there is no application or it is
// closing down.
bool PostToUiThread(std::function<void()> call);

}  // namespace platform_qt
