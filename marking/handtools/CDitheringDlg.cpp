#include "marking/handtools/CDitheringDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "marking/dialogs/DialogControls.h"
#include "marking/handtools/UiThreadCall.h"

using machine_dialogs::Named;

CDitheringDlg::CDitheringDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Dithering control"));
  stableTime_ = Named(new QLineEdit(this), "stableTimeEdit", IDC_STABLE_TIME);
  apply_ = Named(new QCheckBox(QStringLiteral("Apply dithering"), this), "applyDitheringCheck", IDC_APPLY_DITHERING);
  rotateFactor_ = Named(new QLineEdit(this), "rotateFactorEdit", IDC_ROTATE_FACTOR);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Stable time:"), this), 0, 0);
  grid->addWidget(stableTime_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("ms"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Rotate factor:"), this), 1, 0);
  grid->addWidget(rotateFactor_, 1, 1);
  grid->addWidget(apply_, 2, 0, 1, 3);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CDitheringDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CDitheringDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

CDitheringDlg::~CDitheringDlg() = default;

int CDitheringDlg::DoModal() {
  OnInitDialog();
  return exec();
}

void CDitheringDlg::OnInitDialog() {
  // The settings record starts the factor at 0, which the dialog would refuse:
  // it shows the nearest value it takes, so OK confirms what is shown.
  if (!(m_rotateFactor >= kRotateFactorMin)) m_rotateFactor = static_cast<float>(kRotateFactorMin);
  if (m_rotateFactor > kRotateFactorMax) m_rotateFactor = static_cast<float>(kRotateFactorMax);
  UpdateData(false);
}

bool CDitheringDlg::UpdateData(bool save) {
  if (!save) {
    stableTime_->setText(QString::number(m_stableTime));
    apply_->setChecked(m_applyDithering != 0);
    rotateFactor_->setText(machine_dialogs::FloatText(m_rotateFactor));
    return true;
  }
  // Checked in the order of the controls; nothing is stored until all pass.
  int stable = 0;
  float factor = 0.0f;
  if (!machine_dialogs::ReadIntInRange(stableTime_, stableTime_->text(), 0, kStableTimeMax, stable)) return false;
  if (!machine_dialogs::ReadFloatInRange(rotateFactor_, rotateFactor_->text(), kRotateFactorMin, kRotateFactorMax,
                                         factor))
    return false;
  m_stableTime = stable;
  m_applyDithering = apply_->isChecked() ? 1 : 0;
  m_rotateFactor = factor;
  return true;
}

void CDitheringDlg::accept() {
  if (!UpdateData(true)) return;
  QDialog::accept();
}

QWidget* CDitheringDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }

int CDitheringDlg::RunModal(Values& values, QWidget* parent) {
  return handtools::RunOnUiThread(
      [&values, parent] {
        CDitheringDlg dlg(parent);
        dlg.m_stableTime = values.stableTime;
        dlg.m_applyDithering = values.applyDithering;
        dlg.m_rotateFactor = values.rotateFactor;
        const int result = dlg.DoModal();
        if (result == QDialog::Accepted) {
          values.stableTime = dlg.m_stableTime;
          values.applyDithering = dlg.m_applyDithering;
          values.rotateFactor = dlg.m_rotateFactor;
        }
        return result;
      },
      QDialog::Rejected);
}
