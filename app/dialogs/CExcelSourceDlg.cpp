#include "app/dialogs/CExcelSourceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "platform/FileDialog.h"
#include "platform/Prompt.h"

CExcelSourceDlg::CExcelSourceDlg(const ExcelSourceValues& values, QWidget* parent) : QDialog(parent), values_(values) {
  setWindowTitle("Excel data auto marking");
  auto* grid = new QGridLayout(this);
  // A path is the file system's bytes, not a document text: shown and kept as it is.
  path_ = new QLabel(QString::fromStdString(values_.path), this);
  path_->setObjectName(QString("static%1").arg(IDC_PATH));
  browse_ = new QPushButton("Excel file path...", this);
  browse_->setObjectName(QString("button%1").arg(IDC_BROWSE));
  visible_ = new QCheckBox("Excel visible", this);
  visible_->setObjectName(QString("check%1").arg(IDC_VISIBLE));
  userControl_ = new QCheckBox("Other user can operate Excel", this);
  userControl_->setObjectName(QString("check%1").arg(IDC_USER_CONTROL));
  sheet_ = new QComboBox(this);
  sheet_->setObjectName(QString("combo%1").arg(IDC_SHEET));
  for (int i = 1; i <= kSheetChoices; ++i) sheet_->addItem(QString::number(i));
  fixedRow_ = new QCheckBox("Fixed row", this);
  fixedRow_->setObjectName(QString("check%1").arg(IDC_FIXED_ROW));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

  grid->addWidget(path_, 0, 0, 1, 2);
  grid->addWidget(browse_, 1, 0, 1, 2);
  grid->addWidget(visible_, 2, 0, 1, 2);
  grid->addWidget(userControl_, 3, 0, 1, 2);
  grid->addWidget(new QLabel("Sheet no:", this), 4, 0);
  grid->addWidget(sheet_, 4, 1);
  grid->addWidget(fixedRow_, 5, 0, 1, 2);
  grid->addWidget(buttons, 6, 0, 1, 2);

  visible_->setChecked(values_.visible != 0);
  userControl_->setChecked(values_.userControl != 0);
  fixedRow_->setChecked(values_.fixedRow != 0);
  // A stored index outside the list shows no selection and is kept until the user picks one.
  sheet_->setCurrentIndex(values_.sheetIndex >= 0 && values_.sheetIndex < kSheetChoices ? values_.sheetIndex : -1);

  connect(browse_, &QPushButton::clicked, this, [this] { OnBrowse(); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QWidget* CExcelSourceDlg::GetDlgItem(int id) const {
  for (const char* kind : {"static", "button", "check", "combo"})
    if (auto* w = findChild<QWidget*>(QString("%1%2").arg(kind).arg(id))) return w;
  return nullptr;
}

void CExcelSourceDlg::OnBrowse() {
  platform::FileDialogRequest request;
  request.save = false;
  request.defaultExt = ".xls";
  // Every workbook the cell reader takes: the binary one and the XML ones.
  request.filter = "Excel (*.xls;*.xlsx;*.xlsm)|*.xls;*.xlsx;*.xlsm||";
  request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
  const std::optional<std::string> chosen = platform::AskFile(request);
  if (!chosen) return;
  path_->setText(QString::fromStdString(*chosen));
}

void CExcelSourceDlg::accept() {
  ExcelSourceValues next = values_;
  next.path = path_->text().toStdString();
  if (next.path.size() > kExcelPathMax) {
    platform::MessageBox(kExcelPathTooLong);
    return;
  }
  next.visible = visible_->isChecked() ? 1 : 0;
  next.userControl = userControl_->isChecked() ? 1 : 0;
  next.fixedRow = fixedRow_->isChecked() ? 1 : 0;
  if (sheet_->currentIndex() >= 0) next.sheetIndex = sheet_->currentIndex();
  values_ = next;
  QDialog::accept();
}

bool EditExcelSource(ExcelSourceValues& values, const std::function<int(QDialog&)>& runModal) {
  CExcelSourceDlg dialog(values);
  if (runModal(dialog) != QDialog::Accepted) return false;
  values = dialog.Values();
  return true;
}
