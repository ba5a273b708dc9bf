#pragma once
// An edit field that reports Enter, the Up and Down keys and the loss of focus
// to its owner (key 13 for Enter and focus loss, 38 Up, 40 Down). While a
// marking job runs, Enter, Escape and Space request a stop instead (through
// the installed stop-key filter). Enter never reaches the default handling.
#include <QLineEdit>
#include <functional>

constexpr int EDITN_KEY = 0x100;

class CNotifyEdit : public QLineEdit {
 public:
  explicit CNotifyEdit(QWidget* parent = nullptr);
  // The EDITN_KEY report.
  void SetKeyHandler(std::function<void(int key)> handler) { onKey_ = std::move(handler); }
  // The plain focus-lost notice, delivered before the key report of a focus loss.
  void SetFocusLostHandler(std::function<void()> handler) { onFocusLost_ = std::move(handler); }
  // While the gate answers false, the edit reports nothing.
  void SetReportGate(std::function<bool()> open) { open_ = std::move(open); }
  // How many values the owner has refused so far. A focus loss is one report:
  // when its focus-lost notice got a value refused (the focus sent back to
  // its field), no key report follows.
  void SetRefusalCount(std::function<int()> count) { refusals_ = std::move(count); }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Notify(int key);
  bool Open() const { return !open_ || open_(); }
  std::function<void(int)> onKey_;
  std::function<void()> onFocusLost_;
  std::function<bool()> open_;
  std::function<int()> refusals_;
};
