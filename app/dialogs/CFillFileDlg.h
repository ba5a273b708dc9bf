#pragma once
// Dialog 191 "Fill *.plt,*.dxf file": fill angle and fill distance of an
// imported drawing.
#include "app/dialogs/CFormDialog.h"

class QLineEdit;

class CFillFileDlg : public CFormDialog {
 public:
  explicit CFillFileDlg(QWidget* parent = nullptr);
  float fillAngle = 0;
  float fillDistance = 0.1f;
  int Run();

 private:
  QLineEdit* angle_;
  QLineEdit* distance_;
};
