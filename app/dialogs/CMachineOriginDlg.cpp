#include "app/dialogs/CMachineOriginDlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

#include "marking/dialogs/DialogControls.h"

using machine_dialogs::Named;

CMachineOriginDlg::CMachineOriginDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Machine origin"));
  corners_ = new QButtonGroup(this);
  const char* texts[] = {"Left-Top", "Left-Bottom", "Right-Top", "Right-Bottom"};
  auto* grid = new QGridLayout;
  for (int i = 0; i < 4; ++i) {
    auto* radio = Named(new QRadioButton(QString::fromLatin1(texts[i]), this), "cornerRadio", IDC_LEFT_TOP + i);
    corners_->addButton(radio, i);
    // Left column left corners, top row top corners.
    grid->addWidget(radio, i % 2, i / 2);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CMachineOriginDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CMachineOriginDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void CMachineOriginDlg::OnInitDialog() { machine_dialogs::CheckButton(corners_, std::clamp(m_corner, 0, 3)); }

void CMachineOriginDlg::accept() {
  if (corners_->checkedId() >= 0) m_corner = corners_->checkedId();
  QDialog::accept();
}

QWidget* CMachineOriginDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }
