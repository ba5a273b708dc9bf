#pragma once
// The status bar's lock indicators: "Caps", "Nums" and "Scroll" each show
// while their lock is on and are blank while it is off or cannot be read.
// The locks are read again after a lock key is pressed or let go in any of
// the program's windows and whenever the program becomes active (the locks
// may have changed in another program meanwhile); reads that come together
// are made once, when the events in hand are handled.
#include <QObject>
#include <QPointer>

class QLabel;

class LockIndicators : public QObject {
 public:
  LockIndicators(QLabel* caps, QLabel* num, QLabel* scroll, QObject* parent);
  ~LockIndicators() override;
  // Reads the locks and shows them now.
  void Update();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void RequestUpdate();

  QPointer<QLabel> caps_;
  QPointer<QLabel> num_;
  QPointer<QLabel> scroll_;
  bool updatePending_ = false;
};
