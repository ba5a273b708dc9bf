#include "app/settings/CPasswordDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "marking/dialogs/CSoftTypeDlg.h"
#include "marking/dialogs/DialogControls.h"

using machine_dialogs::Named;

CPasswordDlg::CPasswordDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Password"));
  password_ = Named(new QLineEdit(this), "passwordEdit", IDC_PASSWORD);
  password_->setEchoMode(QLineEdit::Password);
  ok_ = Named(new QPushButton(QStringLiteral("OK"), this), "okButton", IDOK_BUTTON);
  ok_->setEnabled(false);
  ok_->setDefault(true);

  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(QStringLiteral("Password:"), this));
  row->addWidget(password_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(ok_, 0, Qt::AlignRight);

  connect(password_, &QLineEdit::textChanged, this, [this] { OnChangePassword(); });
  connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

void CPasswordDlg::OnChangePassword() {
  // Exact, case-sensitive comparison with the same codes the board-type
  // dialog accepts.
  if (CSoftTypeDlg::IsAccessCode(password_->text())) ok_->setEnabled(true);
}

QWidget* CPasswordDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }
