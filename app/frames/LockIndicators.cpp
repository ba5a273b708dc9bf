#include "app/frames/LockIndicators.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

#include "platform/KeyboardLocks.h"

namespace {

constexpr const char* kCapsText = "Caps";
constexpr const char* kNumText = "Nums";
constexpr const char* kScrollText = "Scroll";

void Show(QLabel* pane, const std::optional<bool>& on, const char* text) {
  if (pane != nullptr) pane->setText(on.value_or(false) ? QString(text) : QString());
}

bool IsLockKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_CapsLock || key == Qt::Key_NumLock || key == Qt::Key_ScrollLock;
}

}  // namespace

LockIndicators::LockIndicators(QLabel* caps, QLabel* num, QLabel* scroll, QObject* parent)
    : QObject(parent), caps_(caps), num_(num), scroll_(scroll) {
  qApp->installEventFilter(this);
  Update();
}

LockIndicators::~LockIndicators() { qApp->removeEventFilter(this); }

void LockIndicators::Update() {
  updatePending_ = false;
  const platform::LockStates states = platform::CurrentKeyboardLocks().Read();
  Show(caps_, states.caps, kCapsText);
  Show(num_, states.num, kNumText);
  Show(scroll_, states.scroll, kScrollText);
}

bool LockIndicators::eventFilter(QObject* watched, QEvent* event) {
  // A key event passes the filter once for each widget it travels through.
  if (IsLockKey(event) ||
      (event->type() == QEvent::ApplicationStateChange &&
       static_cast<QApplicationStateChangeEvent*>(event)->applicationState() == Qt::ApplicationActive)) {
    RequestUpdate();
  }
  return QObject::eventFilter(watched, event);
}

void LockIndicators::RequestUpdate() {
  if (updatePending_) return;
  updatePending_ = true;
  QMetaObject::invokeMethod(this, [this] { Update(); }, Qt::QueuedConnection);
}
