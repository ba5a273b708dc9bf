#include "app/views/CNotifyEdit.h"

#include <QKeyEvent>

#include "document/geometry/SharedHelpers.h"

CNotifyEdit::CNotifyEdit(QWidget* parent) : QLineEdit(parent) {}

void CNotifyEdit::Notify(int key) {
  if (onKey_) onKey_(key);
}

void CNotifyEdit::keyPressEvent(QKeyEvent* event) {
  int vk = 0;
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: vk = 13; break;
    case Qt::Key_Escape: vk = 27; break;
    case Qt::Key_Space: vk = 32; break;
    case Qt::Key_Up: vk = 38; break;
    case Qt::Key_Down: vk = 40; break;
    default: break;
  }
  if (vk != 0 && FilterStopKey(WM_KEYDOWN, static_cast<WPARAM>(vk))) {
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
  Notify(13);
}
