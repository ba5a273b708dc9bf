#include "platform_qt/QtPumpHook.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThread>

#include "platform/Clock.h"

namespace platform_qt {

bool InstallQtPumpHook(std::chrono::microseconds minInterval) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return false;
  QPointer<QThread> uiThread = app->thread();
  platform::SetPumpHook(
      [uiThread] {
        if (uiThread && QThread::currentThread() == uiThread.data() && QCoreApplication::instance())
          QCoreApplication::processEvents();
      },
      minInterval);
  return true;
}

}  // namespace platform_qt
