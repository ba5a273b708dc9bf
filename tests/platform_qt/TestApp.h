#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

// One application object for the whole test program, on the main thread.
inline QApplication& TestApp() {
  static int argc = 1;
  static char name[] = "vendrik_platform_qt_tests";
  static char* argv[] = {name, nullptr};
  static QApplication app(argc, argv);
  return app;
}

// Processes events until done() or the time runs out; returns done().
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 60000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}
