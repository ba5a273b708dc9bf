#pragma once
// Runs a piece of GUI work on the user-interface thread and returns its
// result: at once when called there, otherwise carried over to that thread
// while the caller waits. Modal dialogs go through here, so a worker never
// runs one itself.
#include <functional>

namespace handtools {

// `unanswered` is returned when there is no application to run the call.
int RunOnUiThread(const std::function<int()>& work, int unanswered);

}  // namespace handtools
