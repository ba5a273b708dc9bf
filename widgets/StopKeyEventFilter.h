#pragma once
// The marking stop filter in front of a window and its controls: while a job
// runs, Enter, Escape and Space pressed in any of them request a stop and
// never reach the control.
#include <QObject>

class QWidget;

class StopKeyEventFilter : public QObject {
 public:
  explicit StopKeyEventFilter(QObject* parent = nullptr) : QObject(parent) {}
  // Filters `root` and every widget below it (one filter, owned by root).
  static void InstallOn(QWidget* root);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
