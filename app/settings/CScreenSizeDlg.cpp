#include "app/settings/CScreenSizeDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/core/StartupValues.h"
#include "document/geometry/SharedHelpers.h"
#include "marking/dialogs/DialogControls.h"
#include "values/ShellValues.h"

using machine_dialogs::Named;

CScreenSizeDlg::CScreenSizeDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Physics screen size"));
  width_ = Named(new QLineEdit(this), "widthEdit", IDC_WIDTH);
  height_ = Named(new QLineEdit(this), "heightEdit", IDC_HEIGHT);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Width"), this), 0, 0);
  grid->addWidget(width_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Height"), this), 1, 0);
  grid->addWidget(height_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), this), 1, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CScreenSizeDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CScreenSizeDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

int CScreenSizeDlg::DoModal() {
  OnInitDialog();
  return exec();
}

void CScreenSizeDlg::OnInitDialog() {
  width_->setText(machine_dialogs::FloatText(m_width));
  height_->setText(machine_dialogs::FloatText(m_height));
}

void CScreenSizeDlg::accept() {
  float width = 0.0f;
  float height = 0.0f;
  if (!machine_dialogs::ReadFloat(width_, width_->text(), width) || !machine_dialogs::ReadFloat(height_, height_->text(), height)) return;
  m_width = width;
  m_height = height;
  QDialog::accept();
}

QWidget* CScreenSizeDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }

void ApplyPhysicalScreenSize(float widthMm, float heightMm, int screenPixelWidth, int screenPixelHeight) {
  if (!(widthMm >= 50.0f)) widthMm = 50.0f;
  if (!(heightMm >= 40.0f)) heightMm = 40.0f;
  g_physScreenWidthMm = widthMm;
  g_physScreenHeightMm = heightMm;
  g_pxPerMmX = screenPixelWidth / static_cast<double>(widthMm);
  g_pxPerMmY = screenPixelHeight / static_cast<double>(heightMm);
  WriteRegFloat("PhyScreenWidth", widthMm);
  WriteRegFloat("PhyScreenHeight", heightMm);
}
