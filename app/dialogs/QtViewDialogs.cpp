#include "app/dialogs/QtViewDialogs.h"

#include <QCheckBox>
#include <QLineEdit>

#include "app/dialogs/CFillFileDlg.h"
#include "app/dialogs/CFormDialog.h"
#include "app/dialogs/CMarkOrderDlg.h"
#include "app/dialogs/CPltLibraryDlg.h"
#include "app/dialogs/CSizePositionDlg.h"
#include "platform/NumberText.h"
#include "values/ShellValues.h"

namespace {

std::string Text(double v) { return platform::FormatC("%g", v); }

}  // namespace

bool QtViewDialogs::AskRotateAngle(float& degrees) {
  CFormDialog dialog("Roate angle", parent_);
  QLineEdit* angle = dialog.AddNumber(1014, "Rotate angle (degree)", Text(degrees));
  if (dialog.exec() != QDialog::Accepted) return false;
  degrees = static_cast<float>(dialog.Number(angle));
  return true;
}

bool QtViewDialogs::AskMatrixCopy(MatrixCopyValues& values) {
  CFormDialog dialog("Object martrix copy dialog", parent_);
  QLineEdit* rows = dialog.AddNumber(1014, "Row", std::to_string(values.rows), true, CFormDialog::Range{1, 10});
  QLineEdit* cols = dialog.AddNumber(1015, "Col", std::to_string(values.cols), true, CFormDialog::Range{1, 10});
  QLineEdit* rowDistance = dialog.AddNumber(1016, "Row distance", Text(values.rowDistance), false, CFormDialog::Range{0, 1000});
  QLineEdit* colDistance = dialog.AddNumber(1018, "Col distance", Text(values.colDistance), false, CFormDialog::Range{0, 1000});
  QCheckBox* x = dialog.AddCheck(1019, "X direction(+)", values.xPositive != 0);
  QCheckBox* y = dialog.AddCheck(1020, "Y direction(+)", values.yPositive != 0);
  if (dialog.exec() != QDialog::Accepted) return false;
  values.rows = static_cast<int>(dialog.Number(rows));
  values.cols = static_cast<int>(dialog.Number(cols));
  values.rowDistance = static_cast<float>(dialog.Number(rowDistance));
  values.colDistance = static_cast<float>(dialog.Number(colDistance));
  values.xPositive = x->isChecked() ? 1 : 0;
  values.yPositive = y->isChecked() ? 1 : 0;
  return true;
}

bool QtViewDialogs::AskOffset(float& x, float& y) {
  CFormDialog dialog("Offset", parent_);
  QLineEdit* ex = dialog.AddNumber(1014, "Offset X:", Text(x));
  QLineEdit* ey = dialog.AddNumber(1015, "Offset Y:", Text(y));
  if (dialog.exec() != QDialog::Accepted) return false;
  x = static_cast<float>(dialog.Number(ex));
  y = static_cast<float>(dialog.Number(ey));
  return true;
}

bool QtViewDialogs::AskSizeAndPosition(SizePositionTexts& texts) {
  CSizePositionDlg dialog(texts, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  texts = dialog.Texts();
  return true;
}

bool QtViewDialogs::AskFillFile(float& angle, float& distance) {
  CFillFileDlg dialog(parent_);
  dialog.fillAngle = angle;
  dialog.fillDistance = distance;
  if (dialog.Run() != QDialog::Accepted) return false;
  angle = dialog.fillAngle;
  distance = dialog.fillDistance;
  return true;
}

bool QtViewDialogs::AskMarkOrder(std::vector<CObjElement*>& order) {
  CMarkOrderDlg dialog(order, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  order = dialog.Order();
  return true;
}

bool QtViewDialogs::AskReferenceArc(ReferenceArcValues& values) {
  CFormDialog dialog("refer arc", parent_);
  QLineEdit* x1 = dialog.AddNumber(1075, "Arc Point-1(X)", Text(values.point1X));
  QLineEdit* y1 = dialog.AddNumber(1076, "Arc Point-1(Y)", Text(values.point1Y));
  QLineEdit* x2 = dialog.AddNumber(1018, "Arc Point-2(X)", Text(values.point2X));
  QLineEdit* y2 = dialog.AddNumber(1019, "Arc Point-2(Y)", Text(values.point2Y));
  QLineEdit* radius = dialog.AddNumber(1077, "radius:", Text(values.radius));
  dialog.AddText(1020, "min radius:", Text(values.minRadius))->setReadOnly(true);
  dialog.AddText(1078, "center(X):", Text(values.centreX))->setReadOnly(true);
  dialog.AddText(1079, "center(Y):", Text(values.centreY))->setReadOnly(true);
  if (dialog.exec() != QDialog::Accepted) return false;
  values.point1X = static_cast<float>(dialog.Number(x1));
  values.point1Y = static_cast<float>(dialog.Number(y1));
  values.point2X = static_cast<float>(dialog.Number(x2));
  values.point2Y = static_cast<float>(dialog.Number(y2));
  values.radius = static_cast<float>(dialog.Number(radius));
  return true;
}

bool QtViewDialogs::AskPltLibrary(CPointList& points) {
  CPltLibraryDlg dialog(g_installDir, parent_);
  if (dialog.exec() != QDialog::Accepted) return false;
  dialog.GetSelectedPoints(points);
  return true;
}
