#pragma once
// A notifying edit that accepts only the letters A-Z and a-z, the digits and
// backspace as typed characters; other printable characters are dropped.
#include "widgets/CNotifyEdit.h"

class CAlnumEdit : public CNotifyEdit {
 public:
  explicit CAlnumEdit(QWidget* parent = nullptr);
  // Whether a typed character passes.
  static bool Accepts(QChar c);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
