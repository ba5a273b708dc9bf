#include "widgets/CNotifyEdit.h"

#include <QKeyEvent>

#include "widgets/StopKeyFilter.h"

CNotifyEdit::CNotifyEdit(QWidget* parent) : QLineEdit(parent) {}

void CNotifyEdit::Notify(int key) {
  if (onKey_ && Open()) onKey_(key);
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
  const int refusedBefore = refusals_ ? refusals_() : 0;
  if (onFocusLost_ && Open()) onFocusLost_();
  if (refusals_ && refusals_() != refusedBefore) return;
  Notify(13);
}
