#include "app/settings/CPrinterConfigDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "marking/dialogs/DialogControls.h"

using machine_dialogs::Named;

namespace {
constexpr int kCustomScale = 2;
}

CPrinterConfigDlg::CPrinterConfigDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Config printer"));
  edgeX_ = Named(new QLineEdit(this), "edgeXEdit", IDC_EDGE_X);
  edgeY_ = Named(new QLineEdit(this), "edgeYEdit", IDC_EDGE_Y);
  lineWidth_ = Named(new QComboBox(this), "lineWidthList", IDC_LINE_WIDTH);
  for (int width : kPaperLineWidths)
    lineWidth_->addItem(QString::number(width) + QStringLiteral("-线宽"));
  scale_ = Named(new QComboBox(this), "scaleList", IDC_SCALE);
  scale_->addItems({QStringLiteral("自动比例"), QStringLiteral("1:1(实际比例)"), QStringLiteral("自定义")});
  customScale_ = Named(new QLineEdit(this), "customScaleEdit", IDC_CUSTOM_SCALE);

  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel(QStringLiteral("Edge(X)"), this), 0, 0);
  grid->addWidget(edgeX_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), this), 0, 2);
  grid->addWidget(new QLabel(QStringLiteral("Edge(Y)"), this), 1, 0);
  grid->addWidget(edgeY_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("mm"), this), 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Line width:"), this), 2, 0);
  grid->addWidget(lineWidth_, 2, 1);
  grid->addWidget(new QLabel(QStringLiteral("Scale"), this), 3, 0);
  grid->addWidget(scale_, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Custum scale"), this), 4, 0);
  grid->addWidget(customScale_, 4, 1);
  grid->addWidget(new QLabel(QStringLiteral("%"), this), 4, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CPrinterConfigDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CPrinterConfigDlg::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);

  connect(scale_, &QComboBox::currentIndexChanged, this, [this] { OnScaleChange(); });
}

int CPrinterConfigDlg::DoModal() {
  OnInitDialog();
  return exec();
}

void CPrinterConfigDlg::OnInitDialog() {
  edgeX_->setText(machine_dialogs::FloatText(m_record.edgeX));
  edgeY_->setText(machine_dialogs::FloatText(m_record.edgeY));
  customScale_->setText(machine_dialogs::FloatText(m_record.customScale));
  // A stored index the list does not hold shows no selection.
  lineWidth_->setCurrentIndex(m_record.lineWidthIndex < lineWidth_->count() ? m_record.lineWidthIndex : -1);
  scale_->setCurrentIndex(m_record.scaleMode < scale_->count() ? m_record.scaleMode : -1);
  OnScaleChange();
}

void CPrinterConfigDlg::OnScaleChange() { customScale_->setEnabled(scale_->currentIndex() == kCustomScale); }

void CPrinterConfigDlg::accept() {
  float edgeX = 0.0f;
  float edgeY = 0.0f;
  float custom = 0.0f;
  if (!machine_dialogs::ReadFloat(edgeX_, edgeX_->text(), edgeX) || !machine_dialogs::ReadFloat(edgeY_, edgeY_->text(), edgeY) ||
      !machine_dialogs::ReadFloat(customScale_, customScale_->text(), custom))
    return;
  m_record.edgeX = edgeX;
  m_record.edgeY = edgeY;
  m_record.customScale = custom;
  // A list without selection keeps the stored choice rather than storing -1.
  if (lineWidth_->currentIndex() >= 0) m_record.lineWidthIndex = lineWidth_->currentIndex();
  if (scale_->currentIndex() >= 0) m_record.scaleMode = scale_->currentIndex();
  QDialog::accept();
}

QWidget* CPrinterConfigDlg::GetDlgItem(int id) const { return machine_dialogs::FindControl(this, id); }
