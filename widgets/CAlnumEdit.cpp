#include "widgets/CAlnumEdit.h"

#include <QKeyEvent>

CAlnumEdit::CAlnumEdit(QWidget* parent) : CNotifyEdit(parent) {}

bool CAlnumEdit::Accepts(QChar c) {
  const char16_t u = c.unicode();
  return (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == 8;
}

void CAlnumEdit::keyPressEvent(QKeyEvent* event) {
  // Key presses without text (arrows, Enter, deletion, shortcuts) behave as in
  // the notifying edit; typed characters must pass the filter.
  const QString text = event->text();
  const bool typed = !text.isEmpty() && text.at(0).isPrint();
  if (typed) {
    for (QChar c : text) {
      if (!Accepts(c)) {
        event->accept();
        return;
      }
    }
  }
  CNotifyEdit::keyPressEvent(event);
}
