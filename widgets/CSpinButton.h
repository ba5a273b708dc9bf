#pragma once
// An up-down button pair beside an edit field. It holds no value: each press
// reports a delta to its owner, -1 for the up arrow and +1 for the down arrow,
// and the owner steps its own member.
#include <QWidget>
#include <functional>

class QToolButton;

class CSpinButton : public QWidget {
 public:
  explicit CSpinButton(QWidget* parent = nullptr);
  void SetDeltaHandler(std::function<void(int delta)> handler) { onDelta_ = std::move(handler); }
  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 private:
  void Report(int delta);
  QToolButton* up_;
  QToolButton* down_;
  std::function<void(int)> onDelta_;
};
