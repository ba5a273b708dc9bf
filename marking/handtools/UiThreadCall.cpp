#include "marking/handtools/UiThreadCall.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform_qt/UiThreadPost.h"

namespace handtools {

int RunOnUiThread(const std::function<int()>& work, int unanswered) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app || QCoreApplication::closingDown()) return unanswered;
  if (QThread::currentThread() == app->thread()) return work();
  struct Pending {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    int result = 0;
  };
  auto pending = std::make_shared<Pending>();
  pending->result = unanswered;
  const bool posted = platform_qt::PostToUiThread([pending, work] {
    const int result = work();
    std::lock_guard lock(pending->mutex);
    pending->result = result;
    pending->done = true;
    pending->cv.notify_all();
  });
  if (!posted) return unanswered;
  std::unique_lock lock(pending->mutex);
  // A closing application never runs the call: do not wait for ever.
  while (!pending->cv.wait_for(lock, std::chrono::milliseconds(100), [&] { return pending->done; })) {
    if (!QCoreApplication::instance() || QCoreApplication::closingDown()) break;
  }
  return pending->result;
}

}  // namespace handtools
