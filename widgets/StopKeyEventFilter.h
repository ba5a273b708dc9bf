#pragma once
// The marking stop filter in front of a window and its controls: while a job
// runs, Enter, Escape and Space pressed in any of them request a stop and
// never reach the control. Keys that go into a modal dialog (the question
// whether to stop among them) or an open menu are theirs.
#include <QObject>

class QWidget;

class StopKeyEventFilter : public QObject {
 public:
  explicit StopKeyEventFilter(QObject* parent = nullptr) : QObject(parent) {}
  // Filters `root` and every widget below it (one filter, owned by root).
  static void InstallOn(QWidget* root);
  // Filters every key of the program, whichever widget has the focus or
  // when none has (the key then goes to the active window). The filter is
  // owned by `owner` and goes with it.
  static void InstallOnApplication(QObject* owner);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
