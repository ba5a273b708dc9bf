#include "app/dialogs/CPointerPosDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "marking/dialogs/DialogControls.h"

using machine_dialogs::Named;

CPointerPosDlg::CPointerPosDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Pointer position"));
  x_ = Named(new QLineEdit(this), "posXEdit", IDC_POS_X);
  y_ = Named(new QLineEdit(this), "posYEdit", IDC_POS_Y);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Pos x:"), this), 0, 0);
  grid->addWidget(x_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Pos y:"), this), 1, 0);
  grid->addWidget(y_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), this), 1, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CPointerPosDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPointerPosDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void CPointerPosDlg::OnInitDialog() {
  x_->setText(machine_dialogs::FloatText(m_x));
  y_->setText(machine_dialogs::FloatText(m_y));
}

void CPointerPosDlg::accept() {
  float x = 0.0f;
  float y = 0.0f;
  if (!machine_dialogs::ReadFloat(x_, x_->text(), x) || !machine_dialogs::ReadFloat(y_, y_->text(), y)) return;
  m_x = x;
  m_y = y;
  QDialog::accept();
}

QWidget* CPointerPosDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }
