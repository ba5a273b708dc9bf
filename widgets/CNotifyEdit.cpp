#include "widgets/CNotifyEdit.h"

#include <QKeyEvent>

#include "widgets/StopKeyFilter.h"

CNotifyEdit::CNotifyEdit(QWidget* parent) : QLineEdit(parent) {}

void CNotifyEdit::Notify(int key) {
  if (onKey_ && (!open_ || open_())) onKey_(key);
}

void CNotifyEdit::keyPressEvent(QKeyEvent* event) {
  const int vk = widgets::VirtualKeyOf(event->key());
  if (widgets::StopKeyTaken(vk)) {
    event->accept();
    return;
  }
  if (vk == 13 || vk == 38 || vk == 40) {
    event->accept();
    Notify(vk);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void CNotifyEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (onFocusLost_ && (!open_ || open_())) onFocusLost_();
  Notify(13);
}
