#include "app/dialogs/CFillFileDlg.h"

#include <QLineEdit>

#include "platform/NumberText.h"

CFillFileDlg::CFillFileDlg(QWidget* parent) : CFormDialog("Fill *.plt,*.dxf file", parent) {
  angle_ = AddNumber(1165, "Fill angle", "0");
  distance_ = AddNumber(1015, "Fill distance", "0.1");
}

int CFillFileDlg::Run() {
  angle_->setText(QString::fromStdString(platform::FormatC("%g", fillAngle)));
  distance_->setText(QString::fromStdString(platform::FormatC("%g", fillDistance)));
  const int result = exec();
  if (result == QDialog::Accepted) {
    fillAngle = static_cast<float>(Number(angle_));
    fillDistance = static_cast<float>(Number(distance_));
  }
  return result;
}
